#include "shell/view_reader.hpp"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

#include "core/little_endian.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode.hpp"
#include "shell/window_system.hpp"

namespace corvella {
namespace {

// Where LVITEMW keeps the fields the reader uses; mask, iItem and iSubItem
// open it at 0, 4 and 8 for either bitness.
struct ItemRecordLayout {
  std::size_t size;
  std::size_t text_pointer;
  std::size_t text_pointer_width;
  std::size_t text_capacity;
};

constexpr ItemRecordLayout kItemRecord32{60, 20, 4, 24};
constexpr ItemRecordLayout kItemRecord64{88, 24, 8, 32};
constexpr std::size_t kMaskOffset = 0;
constexpr std::size_t kItemOffset = 4;
constexpr std::uint32_t kTextMask = 1;  // LVIF_TEXT

constexpr std::size_t kItemsPerChunk = 256;
// Text room per item in UTF-16 units, NUL included: most display names are
// file names, a few hundred units.
constexpr std::size_t kTextUnits = 1024;
// Room for the longest name the reader takes, 32,767 units, with the unit
// that tells it was not cut and the NUL; only for a name that filled the
// usual room.
constexpr std::size_t kLongTextUnits = 32769;
constexpr std::size_t kPointBytes = 8;

const ItemRecordLayout& RecordLayoutFor(ProcessBitness bitness) {
  return bitness == ProcessBitness::Bits64 ? kItemRecord64 : kItemRecord32;
}

// One chunk in the buffer: the items' records, then their points, then
// their text.
class ChunkLayout {
 public:
  ChunkLayout(const ItemRecordLayout& record, std::size_t items, std::size_t text_units)
      : record_(record), items_(items), text_units_(text_units) {}

  [[nodiscard]] const ItemRecordLayout& RecordLayout() const { return record_; }
  [[nodiscard]] std::size_t Items() const { return items_; }
  [[nodiscard]] std::size_t TextUnits() const { return text_units_; }
  [[nodiscard]] std::size_t Record(std::size_t i) const { return i * record_.size; }
  [[nodiscard]] std::size_t Point(std::size_t i) const { return items_ * record_.size + i * kPointBytes; }
  [[nodiscard]] std::size_t Text(std::size_t i) const {
    return items_ * (record_.size + kPointBytes) + i * text_units_ * 2;
  }
  [[nodiscard]] std::size_t Bytes() const { return Text(items_); }

 private:
  const ItemRecordLayout& record_;
  std::size_t items_;
  std::size_t text_units_;
};

// The records ask for each item's text in its own part of the buffer; text
// and points start zeroed, so that an answer the view never wrote reads as
// no name.
std::vector<std::uint8_t> ChunkRequest(const RemoteMemory& memory, const ChunkLayout& chunk, std::int32_t first) {
  const ItemRecordLayout& record = chunk.RecordLayout();
  std::vector<std::uint8_t> bytes(chunk.Bytes());
  for (std::size_t i = 0; i < chunk.Items(); ++i) {
    const std::size_t at = chunk.Record(i);
    PutLittleEndian(bytes, at + kMaskOffset, 4, kTextMask);
    PutLittleEndian(bytes, at + kItemOffset, 4, static_cast<std::uint32_t>(first) + i);
    PutLittleEndian(bytes, at + record.text_pointer, record.text_pointer_width,
                    static_cast<std::uint32_t>(ParameterAddress(memory, chunk.Text(i))));
    PutLittleEndian(bytes, at + record.text_capacity, 4, chunk.TextUnits());
  }
  return bytes;
}

// Asks the view for the text, and the place when wanted, of the chunk's
// items from `first` on; what the view wrote into the buffer.
std::vector<std::uint8_t> AskChunk(WindowSystem& windows, WindowHandle view, RemoteMemory& memory,
                                   const ChunkLayout& chunk, std::int32_t first, bool with_places) {
  std::vector<std::uint8_t> bytes = ChunkRequest(memory, chunk, first);
  memory.Write(0, bytes);
  for (std::size_t i = 0; i < chunk.Items(); ++i) {
    const auto index = static_cast<std::uint32_t>(first) + static_cast<std::uint32_t>(i);
    SendPointingInto(windows, view, memory, list_view::kGetItemTextW, index, chunk.Record(i));
    if (with_places &&
        SendPointingInto(windows, view, memory, list_view::kGetItemPosition, index, chunk.Point(i)) == 0) {
      ThrowServiceFailure("the view has no position for item " + std::to_string(index));
    }
  }
  memory.Read(0, bytes);
  return bytes;
}

// The item's text where the view left pszText, which must still point
// into the chunk and end there; nothing when it fills its room, as a name
// that was cut would, which could be taken for another. An item the view
// gives no name has the empty one.
std::optional<std::string> ItemName(std::span<const std::uint8_t> chunk_bytes, std::uint32_t chunk_address,
                                    const ChunkLayout& chunk, std::size_t i, std::int32_t index) {
  const ItemRecordLayout& record = chunk.RecordLayout();
  const std::uint64_t pointer =
      GetLittleEndian(chunk_bytes, chunk.Record(i) + record.text_pointer, record.text_pointer_width);
  if (pointer < chunk_address || pointer - chunk_address >= chunk_bytes.size()) {
    ThrowServiceFailure("the view moved item " + std::to_string(index) + "'s text out of the buffer");
  }
  std::u16string name;
  for (std::size_t at = static_cast<std::size_t>(pointer - chunk_address);; at += 2) {
    if (at + 2 > chunk_bytes.size())
      ThrowServiceFailure("item " + std::to_string(index) + "'s text does not end in the buffer");
    const auto unit = static_cast<char16_t>(GetLittleEndian(chunk_bytes, at, 2));
    if (unit == u'\0') break;
    name += unit;
  }
  if (name.size() >= chunk.TextUnits() - 1) return std::nullopt;
  return Utf16ToUtf8(name);
}

// Reads again, with room for the longest name, an item whose name filled
// the usual room; `room` is opened for the first such name. A name longer
// than that is no name to tell the item by: the empty one.
std::string ReadLongName(WindowSystem& windows, RemoteMemoryProvider& memory, WindowHandle view,
                         const ItemRecordLayout& record, std::int32_t index, std::unique_ptr<RemoteMemory>& room) {
  const ChunkLayout chunk(record, 1, kLongTextUnits);
  if (!room) room = memory.Open(view, chunk.Bytes());
  const std::vector<std::uint8_t> bytes = AskChunk(windows, view, *room, chunk, index, false);
  std::optional<std::string> name = ItemName(bytes, room->Address(), chunk, 0, index);
  return name ? std::move(*name) : std::string();
}

}  // namespace

std::vector<ViewItem> ViewReader::ReadItems(WindowHandle view, std::int32_t count) {
  if (count < 0) ThrowServiceFailure("the view reports " + std::to_string(count) + " items");
  std::vector<ViewItem> items;
  if (count == 0) return items;
  items.reserve(static_cast<std::size_t>(count));

  const std::size_t per_chunk = std::min<std::size_t>(static_cast<std::size_t>(count), kItemsPerChunk);
  const std::unique_ptr<RemoteMemory> memory =
      memory_.Open(view, ChunkLayout(kItemRecord64, per_chunk, kTextUnits).Bytes());
  const ItemRecordLayout& record = RecordLayoutFor(memory->Bitness());
  std::unique_ptr<RemoteMemory> long_name_room;

  for (std::int32_t first = 0; first < count; first += static_cast<std::int32_t>(per_chunk)) {
    const ChunkLayout chunk(record, std::min<std::size_t>(per_chunk, static_cast<std::size_t>(count - first)),
                            kTextUnits);
    const std::vector<std::uint8_t> bytes = AskChunk(windows_, view, *memory, chunk, first, true);
    for (std::size_t i = 0; i < chunk.Items(); ++i) {
      const auto index = first + static_cast<std::int32_t>(i);
      std::optional<std::string> name = ItemName(bytes, memory->Address(), chunk, i, index);
      if (!name) name = ReadLongName(windows_, memory_, view, record, index, long_name_room);
      items.push_back(ViewItem{std::move(*name), static_cast<std::int32_t>(GetLittleEndian(bytes, chunk.Point(i), 4)),
                               static_cast<std::int32_t>(GetLittleEndian(bytes, chunk.Point(i) + 4, 4))});
    }
  }
  return items;
}

}  // namespace corvella
