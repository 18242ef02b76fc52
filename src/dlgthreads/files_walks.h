#pragma once
// The Files display's walks (work kind 0): storage per owner, the rights
// dump and the access tree. Each level of a walk is one BeginWork /
// FinishWork pair, so the outermost level hands the block over.

#include <memory>
#include <string_view>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Messages of the walks.
inline constexpr std::string_view kInvalidDescriptorText = "Invalid Security descriptor!";
inline constexpr std::string_view kFatalCaption = "FATAL Veltrane Error";
inline constexpr std::string_view kFilesAreaFullText =
    "The Files list is full (200,000 entries): what did not fit is not shown.";
inline constexpr std::string_view kAccessTreeFullText =
    "The access tree is full (20,000 lines): the directories that did not fit are not shown.";
inline constexpr std::string_view kRootNotListedText =
    "The directory %s could not be listed.\nError code given was: %i";

// Storage per owner below block.state.settings.f_root_path, into block.files.
void ownerWalk(const std::shared_ptr<WorkerBlock>& block);
// Every directory (and file, unless f_directories_only) below the root path
// with each account of its access list, into block.files.
void rightsDump(const std::shared_ptr<WorkerBlock>& block);
// The selected server's disk shares and their directories, marked with the
// rights of block.userName, into block.accessTree.
void accessTree(const std::shared_ptr<WorkerBlock>& block);

}  // namespace dlgthreads
