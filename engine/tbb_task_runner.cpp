// The oneTBB runner (tbb_task_runner.h): one task a range, since the engine has already cut the work
// to its liking.

#include "engine/tbb_task_runner.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>

#include <memory>

namespace lumidor {

namespace {

void RunEachRange(std::int32_t count, const std::function<void(std::int32_t)>& range) {
    tbb::parallel_for(
        tbb::blocked_range<std::int32_t>(0, count, 1),
        [&range](const tbb::blocked_range<std::int32_t>& ranges) {
            for (std::int32_t r = ranges.begin(); r != ranges.end(); ++r)
                range(r);
        },
        tbb::simple_partitioner());
}

} // namespace

TTaskRunner MakeTbbTaskRunner(std::int32_t threads) {
    TTaskRunner runner;
    if (threads <= 0) {
        runner.Threads = tbb::this_task_arena::max_concurrency();
        runner.RunRanges = &RunEachRange;
        return runner;
    }
    runner.Threads = threads;
    auto arena = std::make_shared<tbb::task_arena>(int(threads));
    runner.RunRanges = [arena](std::int32_t count, const std::function<void(std::int32_t)>& range) {
        arena->execute([&] { RunEachRange(count, range); });
    };
    return runner;
}

} // namespace lumidor
