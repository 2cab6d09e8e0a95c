#include "driver/run_state.h"

namespace {

RunState state;

void close_log(std::FILE*& log) {
  if (log != nullptr) std::fclose(log);
  log = nullptr;
}

}  // namespace

RunState& run_state() { return state; }

void close_tool_logs() {
  close_log(state.logs.change);
  close_log(state.logs.scan);
  close_log(state.logs.zip);
}

void reset_run_state() {
  close_tool_logs();
  state = RunState{};
}
