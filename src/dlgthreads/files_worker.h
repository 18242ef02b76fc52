#pragma once
// The Files display's worker (work kind 0). Its walks are not built yet;
// what it does is what must not happen on the window's thread: the access
// rights form's name is looked up on the browse server, which may be slow
// to answer.

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure; sets block.userNameKnown for block.userName.
void gatherFiles(std::shared_ptr<WorkerBlock> block);

// True when `name` is a user or a local group of `server`.
bool accessRightsNameKnown(std::string_view server, std::string_view name);

}  // namespace dlgthreads
