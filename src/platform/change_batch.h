#pragma once
// A run of changes (an import) whose records the backend may make durable
// together rather than one call at a time. The run's results are reported
// only after commit(): until then a crash may lose the run's tail (never a
// change in the middle of it).
//
//   platform::ChangeBatch batch;
//   ... NetUserAdd(...) for every record ...
//   if (!batch.commit(&error)) report(error);

#include <memory>
#include <string>

namespace platform {

class ChangesPart;

class ChangeBatch {
 public:
  ChangeBatch();
  // Commits a batch that was not committed (its failure then goes unsaid).
  ~ChangeBatch();
  ChangeBatch(const ChangeBatch&) = delete;
  ChangeBatch& operator=(const ChangeBatch&) = delete;

  // Makes the batch's changes durable; false with *error when they could
  // not be.
  bool commit(std::string* error);

 private:
  std::shared_ptr<ChangesPart> m_part;
  bool m_open = true;
};

}  // namespace platform
