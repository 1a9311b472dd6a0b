#include "engine/task_runner.h"

#include <utility>

namespace lumidor {

namespace {

TTaskRunner& Current() {
    static TTaskRunner runner;
    return runner;
}

} // namespace

void SetTaskRunner(TTaskRunner runner) {
    Current() = std::move(runner);
}

const TTaskRunner& TaskRunner() {
    return Current();
}

} // namespace lumidor
