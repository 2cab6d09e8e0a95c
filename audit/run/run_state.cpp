#include "run/run_state.h"

#include <new>

namespace {

RunState state;

void close_log(FileHandle& log) {
  log.reset();
}

}  // namespace

RunState& run_state() {
  return state;
}

FileHandle append_to_tool_file(const char* name) {
  return open_tool_file(state.directories, name, "a");
}

void close_tool_logs() {
  close_log(state.logs.change);
  close_log(state.logs.scan);
  close_log(state.logs.zip.file);
}

void reset_run_state() {
  close_tool_logs();
  state = RunState{};
  reset_rom_database();
}

bool grow_image_buffer(std::size_t size) {
  ImageBuffer& image = state.image;
  if (image.data && size <= image.capacity) return true;
  constexpr std::size_t slack = 64 * 1024;
  image.data.reset();
  image.data.reset(new (std::nothrow) unsigned char[size + slack]);
  image.capacity = image.data ? size : 0;
  return image.data != nullptr;
}
