#include "platform/change_batch.h"

#include "platform/installed_backend.h"

namespace platform {

ChangeBatch::ChangeBatch() : m_part(detail::part(&Backend::changes)) { m_part->beginChangeBatch(); }

ChangeBatch::~ChangeBatch() {
  std::string ignored;
  commit(&ignored);
}

bool ChangeBatch::commit(std::string* error) {
  if (!m_open) return true;
  m_open = false;
  return m_part->endChangeBatch(error);
}

}  // namespace platform
