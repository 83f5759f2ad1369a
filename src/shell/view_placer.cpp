#include "shell/view_placer.hpp"

#include <algorithm>
#include <vector>

#include "core/little_endian.hpp"
#include "core/runtime_error.hpp"
#include "shell/window_system.hpp"

namespace corvella {
namespace {

constexpr std::size_t kPointsPerChunk = 512;
constexpr std::size_t kPointBytes = 8;

// Owns the view's redraw from the moment it may have been switched off.
class RedrawSwitch {
 public:
  RedrawSwitch(WindowSystem& windows, WindowHandle view) : windows_(windows), view_(view) {}
  RedrawSwitch(const RedrawSwitch&) = delete;
  RedrawSwitch& operator=(const RedrawSwitch&) = delete;

  // On the way out after a failure: a second failure must not hide the first.
  ~RedrawSwitch() {
    if (switched_on_) return;
    try {
      SwitchOn();
    } catch (const RuntimeError&) {
    }
  }

  void SwitchOff() { windows_.SendWindowMessage(view_, window_message::kSetRedraw, 0, 0); }

  // Sent, so that the repaint comes after it; posted to a view that does not
  // answer now, which then draws again as soon as it does.
  void SwitchOn() {
    switched_on_ = true;
    try {
      windows_.SendWindowMessage(view_, window_message::kSetRedraw, 1, 0);
    } catch (const RuntimeError&) {
      windows_.PostWindowMessage(view_, window_message::kSetRedraw, 1);
    }
    windows_.RepaintWindow(view_);
  }

 private:
  WindowSystem& windows_;
  WindowHandle view_;
  bool switched_on_ = false;
};

}  // namespace

void ViewPlacer::MoveItems(WindowHandle view, std::span<const ItemMove> moves) {
  if (moves.empty()) return;
  const std::size_t per_chunk = std::min(moves.size(), kPointsPerChunk);
  const std::unique_ptr<RemoteMemory> memory = memory_.Open(view, per_chunk * kPointBytes);
  // Checked before the redraw goes off, so that a buffer out of reach changes nothing.
  ParameterAddress(*memory, 0);

  RedrawSwitch redraw(windows_, view);
  redraw.SwitchOff();
  for (std::size_t first = 0; first < moves.size(); first += per_chunk) {
    const std::span<const ItemMove> chunk = moves.subspan(first, std::min(per_chunk, moves.size() - first));
    std::vector<std::uint8_t> points(chunk.size() * kPointBytes);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      PutLittleEndian(points, i * kPointBytes, 4, static_cast<std::uint32_t>(chunk[i].x));
      PutLittleEndian(points, i * kPointBytes + 4, 4, static_cast<std::uint32_t>(chunk[i].y));
    }
    memory->Write(0, points);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      SendPointingInto(windows_, view, *memory, list_view::kSetItemPosition32,
                       static_cast<std::uint32_t>(chunk[i].index), i * kPointBytes);
    }
  }
  redraw.SwitchOn();
}

}  // namespace corvella
