#include "programmer/block_engine.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "programmer/operation_context.h"
#include "programmer/operation_frame.h"

namespace quenlet {
namespace {

constexpr size_t kPageBytes = 65536;
constexpr size_t kHalfBytes = 32768;
constexpr uint8_t kErased = 0xFF;

enum class Direction { Write, Place, Compare };

Direction DirectionOf(BlockOperation op) {
  switch (op) {
    case BlockOperation::Program:
    case BlockOperation::Upload:
    case BlockOperation::ProgramSecond:
      return Direction::Write;
    case BlockOperation::Verify:
    case BlockOperation::Confirm:
    case BlockOperation::CompareSecond:
      return Direction::Compare;
    default:
      return Direction::Place;
  }
}

// The bytes the plan's spans index: the logical data buffer or the fuses.
std::span<const uint8_t> SourceBytes(OperationContext& ctx, const BlockPlan& plan) {
  if (plan.source == DataSource::FuseMap) return ctx.fuse_map.Fuses();
  return ctx.buffer.Bytes();
}

bool SpanFits(const DataSpan& span, const BlockPlan& plan, size_t source_size) {
  if (span.count == 0) return true;
  // The fuse map is never lane-mapped: its spans run in one piece.
  if (plan.source == DataSource::FuseMap && span.stride != 1) return false;
  const uint64_t last = span.first + uint64_t{span.count - 1} * span.stride;
  return last < source_size;
}

// staging[0 .. count) := source bytes; the rest of the page stays erased.
void Gather(const DataSpan& span, std::span<const uint8_t> source, uint8_t* staging) {
  const uint8_t* from = source.data() + span.first;
  if (span.stride == 1) {
    std::memcpy(staging, from, span.count);
  } else {
    for (uint32_t i = 0; i < span.count; ++i) staging[i] = from[uint64_t{i} * span.stride];
  }
  std::memset(staging + span.count, kErased, kPageBytes - span.count);
}

// Source bytes := staging[0 .. count); returns the sum of the bytes placed.
// The fuse map stores them through its own 0/1 rule.
uint32_t Scatter(OperationContext& ctx, const BlockPlan& plan, const DataSpan& span,
                 const uint8_t* staging) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < span.count; ++i) sum += staging[i];
  if (plan.source == DataSource::FuseMap) {
    ctx.fuse_map.StoreFuses(span.first, {staging, span.count});
    return sum;
  }
  uint8_t* to = ctx.buffer.Bytes().data() + span.first;
  if (span.stride == 1) {
    std::memcpy(to, staging, span.count);
  } else {
    for (uint32_t i = 0; i < span.count; ++i) to[uint64_t{i} * span.stride] = staging[i];
  }
  return sum;
}

// Differences between staging bytes `from` to count - 1 and their source
// bytes; the fuses by the map's own rule, as a read would store them.
uint64_t CountDifferences(OperationContext& ctx, const BlockPlan& plan, const DataSpan& span,
                          uint32_t from, const uint8_t* staging) {
  if (from >= span.count) return 0;
  if (plan.source == DataSource::FuseMap) {
    return ctx.fuse_map.CountDiffering(span.first + from, {staging + from, span.count - from});
  }
  const uint8_t* with = ctx.buffer.Bytes().data() + span.first;
  if (span.stride == 1 && std::memcmp(staging + from, with + from, span.count - from) == 0) {
    return 0;
  }
  uint64_t differences = 0;
  for (uint32_t i = from; i < span.count; ++i) {
    differences += staging[i] != with[uint64_t{i} * span.stride];
  }
  return differences;
}

void Call(const std::function<void(const PageTransfer&)>& hook, const PageTransfer& page) {
  if (hook) hook(page);
}

}  // namespace

BlockFailure PrepareSource(OperationContext& ctx, const BlockPlan& plan) {
  if (plan.source == DataSource::FuseMap) {
    if (!ctx.fuse_map.HasMap() || ctx.fuse_map.FuseCount() < plan.fuse_map_needed) {
      return BlockFailure::NoSource;
    }
    return BlockFailure::None;
  }
  if (!ctx.buffer.HasBuffer()) return BlockFailure::NoSource;
  if (plan.buffer_needed > ctx.buffer.BufSize()) {
    if (!ctx.buffer.ResizeBuffer(static_cast<int64_t>(plan.buffer_needed), ctx.messages)) {
      return BlockFailure::SourceTooSmall;
    }
  }
  return plan.buffer_needed <= ctx.buffer.BufSize() ? BlockFailure::None
                                                    : BlockFailure::SourceTooSmall;
}

BlockRunResult RunBlockPlan(OperationContext& ctx, const BlockPlan& plan, const BlockHooks& hooks) {
  BlockRunResult result;
  const Direction direction = DirectionOf(plan.operation);

  std::vector<uint8_t> staging;
  try {
    staging.resize(kPageBytes);
  } catch (const std::bad_alloc&) {
    result.failure = BlockFailure::NoStaging;
    return result;
  }

  auto fail = [&](BlockFailure failure, size_t page, int half = 0) {
    result.failure = failure;
    result.page = page;
    result.half = half;
    return result;
  };

  for (size_t p = 0; p < plan.pages.size(); ++p) {
    const PageTransfer& page = plan.pages[p];
    Call(hooks.page_start, page);
    // The source is looked up per page: a hook may have let the queue run.
    std::span<const uint8_t> source = SourceBytes(ctx, plan);
    if (!SpanFits(page.data, plan, source.size())) return fail(BlockFailure::NoSource, p);

    ctx.device.Block.SetPage(page.block_address, page.block_number, page.block_length);

    if (direction == Direction::Write) {
      Gather(page.data, source, staging.data());
      if (!SendParams(ctx)) return fail(BlockFailure::Params, p);
      Call(hooks.after_params, page);
      if (!Announce(ctx)) return fail(BlockFailure::Announce, p);
      for (int half = 0; half < page.bulk_halves; ++half) {
        if (!WritePageRequest(ctx)) return fail(BlockFailure::WriteRequest, p, half);
        const std::span<const uint8_t> data(staging.data() + half * kHalfBytes, kHalfBytes);
        if (!WriteBulk(ctx, data)) return fail(BlockFailure::WriteBulk, p, half);
      }
      Call(hooks.before_run, page);
      if (page.operation != 0) {
        if (!RunOp(ctx, page.operation)) return fail(BlockFailure::Run, p);
        if (!ReadStatus(ctx, result.status)) return fail(BlockFailure::StatusUnread, p);
        if (!result.status.Clean()) return fail(BlockFailure::StatusError, p);
      }
      Call(hooks.page_done, page);
      continue;
    }

    if (!SendParams(ctx)) return fail(BlockFailure::Params, p);
    if (!RunOp(ctx, page.operation)) return fail(BlockFailure::Run, p);
    if (!ReadStatus(ctx, result.status)) return fail(BlockFailure::StatusUnread, p);
    if (!result.status.Clean()) return fail(BlockFailure::StatusError, p);
    std::fill(staging.begin(), staging.end(), kErased);
    for (int half = 0; half < page.bulk_halves; ++half) {
      if (!ReadPageRequest(ctx)) return fail(BlockFailure::ReadRequest, p, half);
      const std::span<uint8_t> data(staging.data() + half * kHalfBytes, kHalfBytes);
      if (!ReadBulk(ctx, data)) return fail(BlockFailure::ReadBulk, p, half);
    }
    source = SourceBytes(ctx, plan);
    if (!SpanFits(page.data, plan, source.size())) return fail(BlockFailure::NoSource, p);
    if (direction == Direction::Place) {
      const uint32_t sum = Scatter(ctx, plan, page.data, staging.data());
      result.placed_sum += sum;
      if (page.data.stride != 1) result.lane_sum += sum;
    } else {
      result.mismatches +=
          CountDifferences(ctx, plan, page.data, page.compare_from, staging.data());
    }
    Call(hooks.page_done, page);
  }
  return result;
}

}  // namespace quenlet
