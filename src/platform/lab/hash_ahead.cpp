#include "platform/lab/hash_ahead.h"

#include <algorithm>

#include "platform/lab/password_hash.h"

namespace lab {

HashAhead::HashAhead(unsigned threads) : m_threadCount(std::max(1u, threads)) {}

HashAhead::~HashAhead() {
  for (auto& t : m_threads) t.request_stop();
  m_changed.notify_all();
  m_threads.clear();  // joins: no thread hashes into a destroyed entry
  for (auto it = m_entries.begin(); it != m_entries.end();) forget(it++);
}

void HashAhead::forget(std::list<Entry>::iterator at) {
  wipePassword(at->password);
  m_entries.erase(at);
}

void HashAhead::prepare(std::span<const std::string> passwords) {
  {
    std::lock_guard lock(m_mutex);
    if (passwords.empty()) {
      for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->state == State::Hashing) ++it;
        else forget(it++);
      }
      return;
    }
    for (const std::string& p : passwords) {
      if (!p.empty()) m_entries.push_back(Entry{p, State::Waiting, std::nullopt});
    }
    for (auto it = m_entries.begin(); m_entries.size() > kMaxKept && it != m_entries.end();) {
      if (it->state == State::Hashing) ++it;
      else forget(it++);
    }
    while (m_threads.size() < m_threadCount) {
      m_threads.emplace_back([this](std::stop_token stop) { work(stop); });
    }
  }
  m_changed.notify_all();
}

std::optional<std::optional<std::string>> HashAhead::take(std::string_view password) {
  std::unique_lock lock(m_mutex);
  const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                               [&](const Entry& e) { return e.password == password; });
  if (at == m_entries.end()) return std::nullopt;
  if (at->state == State::Waiting) {
    forget(at);
    return std::nullopt;
  }
  // A hashing entry is never forgotten by anyone else, so `at` stays valid.
  m_changed.wait(lock, [&] { return at->state == State::Done; });
  std::optional<std::string> hash = std::move(at->hash);
  forget(at);
  return hash;
}

void HashAhead::work(std::stop_token stop) {
  std::unique_lock lock(m_mutex);
  for (;;) {
    auto waiting = m_entries.end();
    const bool found = m_changed.wait(lock, stop, [&] {
      waiting = std::find_if(m_entries.begin(), m_entries.end(),
                             [](const Entry& e) { return e.state == State::Waiting; });
      return waiting != m_entries.end();
    });
    if (!found || stop.stop_requested()) return;
    waiting->state = State::Hashing;
    const std::string& text = waiting->password;
    lock.unlock();
    std::optional<std::string> hash = hashPassword(text);
    lock.lock();
    waiting->hash = std::move(hash);
    waiting->state = State::Done;
    m_changed.notify_all();
  }
}

}  // namespace lab
