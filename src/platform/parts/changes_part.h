#pragma once
// How a backend makes changes durable. A backend that keeps changes itself
// (a server applies each call as it comes) leaves this part empty; the lab,
// which syncs a journal record per change, serves it so that a long run of
// changes is synced together.

#include <string>

namespace platform {

class ChangesPart {
 public:
  virtual ~ChangesPart() = default;

  // Changes made by the calling thread from now on may be made durable
  // together when the batch ends.
  virtual void beginChangeBatch() {}
  // Makes the batch's changes durable; false with *error when they could
  // not be (they may then be lost at the next crash).
  virtual bool endChangeBatch(std::string* /*error*/) { return true; }
};

}  // namespace platform
