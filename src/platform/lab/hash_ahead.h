#pragma once
// Hashes made ahead, on threads of their own, of passwords an import is about
// to set: the call that sets one then finds its hash ready (or nearly) instead
// of making it on the caller's thread, so that every core hashes while the
// calls themselves stay in order on one thread.

#include <condition_variable>
#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lab {

class HashAhead {
 public:
  // Hashes on `threads` threads, started when the first passwords come.
  explicit HashAhead(unsigned threads);
  ~HashAhead();
  HashAhead(const HashAhead&) = delete;
  HashAhead& operator=(const HashAhead&) = delete;

  // Queues `passwords` (blank ones are left out: they need no hash). Beyond
  // kMaxKept the oldest not being hashed are forgotten; an empty list
  // forgets all of them.
  void prepare(std::span<const std::string> passwords);

  // The hash made ahead for `password`, taken out (waiting while a thread
  // is on it): nothing when none was queued or no thread has started on it
  // yet (the caller then hashes it sooner itself); an inner nothing when
  // the memory could not be had.
  std::optional<std::optional<std::string>> take(std::string_view password);

  static constexpr std::size_t kMaxKept = 256;

 private:
  enum class State { Waiting, Hashing, Done };
  struct Entry {
    std::string password;
    State state = State::Waiting;
    std::optional<std::string> hash;
  };
  void work(std::stop_token stop);
  void forget(std::list<Entry>::iterator at);

  const unsigned m_threadCount;
  std::mutex m_mutex;
  std::condition_variable_any m_changed;
  std::list<Entry> m_entries;  // oldest first; a thread hashes the entry in place
  std::vector<std::jthread> m_threads;
};

}  // namespace lab
