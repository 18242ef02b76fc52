#pragma once
// The lab's changes part: a batch's journal records are synced together.

#include <string>

#include "platform/lab/lab_part.h"

namespace lab {

class LabChanges : public platform::ChangesPart, protected LabPart {
 public:
  using LabPart::LabPart;

  void beginChangeBatch() override { m_lab->beginBatch(); }
  bool endChangeBatch(std::string* error) override {
    if (m_lab->endBatch()) return true;
    if (error) *error = m_lab->lastSaveError();
    return false;
  }
};

}  // namespace lab
