#include "app/desktop/tbb_task_runner.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>

namespace lumidor {

TTaskRunner MakeTbbTaskRunner() {
    TTaskRunner runner;
    runner.Threads = tbb::this_task_arena::max_concurrency();
    // One task a range: the engine has already cut the work to its liking.
    runner.RunRanges = [](std::int32_t count, const std::function<void(std::int32_t)>& range) {
        tbb::parallel_for(
            tbb::blocked_range<std::int32_t>(0, count, 1),
            [&range](const tbb::blocked_range<std::int32_t>& ranges) {
                for (std::int32_t r = ranges.begin(); r != ranges.end(); ++r)
                    range(r);
            },
            tbb::simple_partitioner());
    };
    return runner;
}

} // namespace lumidor
