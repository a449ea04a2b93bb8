#pragma once
// The block engine: runs a block plan on the programmer link, page by page,
// through one 64 KB staging block. It moves the data between the staging
// block and the data buffer (or fuse map) exactly where the plan says, and
// compares or places what comes back. It shows nothing itself: the
// operation that runs it is told where a failure happened and chooses its
// own messages and pictures; hooks let it update the view between steps.
#include <cstdint>
#include <functional>

#include "programmer/block_plan.h"
#include "programmer/protocol.h"

namespace quenlet {

struct OperationContext;

// Where a block operation stopped.
enum class BlockFailure {
  None,
  NoSource,        // no data buffer or fuse map, or a fuse map too small for the plan
  SourceTooSmall,  // the data buffer could not grow to what the plan needs
  NoStaging,       // the staging block could not be had
  Params,          // the parameter block upload failed
  Announce,        // request 0x43
  WriteRequest,    // request 0x4C
  WriteBulk,       // a 32 KB bulk write
  Run,             // request 0x49
  StatusUnread,    // request 0x42 failed or came back short
  StatusError,     // the status reports an error
  ReadRequest,     // request 0x4B
  ReadBulk,        // a 32 KB bulk read
};

struct BlockRunResult {
  BlockFailure failure = BlockFailure::None;
  size_t page = 0;          // index of the page where it stopped
  int half = 0;             // bulk half (0 or 1) of a bulk failure
  ProgrammerStatus status;  // the last status received
  uint64_t mismatches = 0;  // compares: bytes that differ
  uint32_t placed_sum = 0;  // reads: sum of the bytes placed
  uint32_t lane_sum = 0;    // reads: sum of the bytes placed through lanes

  bool ok() const { return failure == BlockFailure::None; }
};

struct BlockHooks {
  // At the start of each page.
  std::function<void(const PageTransfer&)> page_start;
  // Writes: after the parameter block went out, before request 0x43.
  std::function<void(const PageTransfer&)> after_params;
  // Writes: after the data, before request 0x49.
  std::function<void(const PageTransfer&)> before_run;
  // After a page went through (status clean, data placed or compared).
  std::function<void(const PageTransfer&)> page_done;
};

// Makes the plan's data source ready before the first transfer: a data
// buffer too small for the plan is grown (a growth that fails has shown its
// message). False when there is no buffer or fuse map, or it cannot hold the
// plan; the operation then fails.
BlockFailure PrepareSource(OperationContext& ctx, const BlockPlan& plan);

// Runs every page of the plan: writes for program and upload, reads placed
// into the source for the reads, reads compared with the source for verify
// and confirm. Stops at the first failure; nothing is sent after it.
BlockRunResult RunBlockPlan(OperationContext& ctx, const BlockPlan& plan,
                            const BlockHooks& hooks = {});

}  // namespace quenlet
