#pragma once
// What every part of the lab backend shares: the lab, and running a read or
// a change on its network. Each part is its own object over the same lab.

#include <functional>
#include <memory>

#include "platform/lab/lab.h"
#include "platform/lab/model.h"

namespace lab {

class LabPart {
 public:
  explicit LabPart(std::shared_ptr<Lab> lab) : m_lab(std::move(lab)) {}

 protected:
  // The platform's names the parts (and tests bending them) write.
  using DWORD = platform::DWORD;
  using LONG = platform::LONG;
  using HKEY = platform::HKEY;
  using NetBuffer = platform::NetBuffer;
  using NetInfo = platform::NetInfo;
  using SID = platform::SID;

  // Runs a change under the lab's write lock; `f` names what it changed in
  // the ChangeSet, which the lab records when the change answers 0. A failed
  // record answers ERROR_WRITE_FAULT.
  DWORD change(const std::function<DWORD(Network&, ChangeSet&)>& f);
  // Runs a read under the lab's read lock.
  DWORD query(const std::function<DWORD(const Network&)>& f) const;

  std::shared_ptr<Lab> m_lab;
};

}  // namespace lab
