#include "platform/lab/lab_part.h"

namespace lab {

using namespace platform;

DWORD LabPart::change(const std::function<DWORD(Network&, ChangeSet&)>& f) {
  DWORD status = NERR_Success;
  const bool saved = m_lab->write([&](Network& net, ChangeSet& changes) {
    status = f(net, changes);
    return status == NERR_Success;
  });
  return saved ? status : ERROR_WRITE_FAULT;
}

DWORD LabPart::query(const std::function<DWORD(const Network&)>& f) const {
  DWORD status = NERR_Success;
  m_lab->read([&](const Network& net) { status = f(net); });
  return status;
}

}  // namespace lab
