#pragma once
// A writer of Standard MIDI Files: tracks collect timed events in any order and encode them
// sorted, with delta times as variable-length quantities and running status; the file puts
// the header and the tracks together. Numbers are big-endian, as the format has them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tomtura::sound_maker {

// Appends value (below 2^28) in 7-bit groups, most significant first, the high bit set on all
// but the last byte.
void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);

class MidiTrack {
 public:
  void TrackName(const std::string& name);
  void Tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
  // denominatorPower: 2 for quarter notes.
  void TimeSignature(std::uint32_t tick, int numerator, int denominatorPower);
  // sharps: negative for flats.
  void KeySignature(std::uint32_t tick, int sharps, bool minor);
  void Program(std::uint32_t tick, int channel, int program);
  void Controller(std::uint32_t tick, int channel, int controller, int value);
  // A note from tick for length ticks; its end is written as a note-on of velocity 0.
  void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
  // The end-of-track mark goes no earlier than tick.
  void EndNotBefore(std::uint32_t tick);

  std::uint32_t EndTick() const;
  // The MTrk chunk. At one tick, meta events come first, then note ends, then controllers,
  // then note starts, so that a note struck again right after itself is not cut short.
  std::vector<std::uint8_t> Encode() const;

 private:
  enum Rank { kMeta, kNoteOff, kControl, kNoteOn };
  struct Event {
    std::uint32_t tick;
    Rank rank;
    std::size_t order;
    std::vector<std::uint8_t> bytes;
  };
  void Add(std::uint32_t tick, Rank rank, std::vector<std::uint8_t> bytes);

  std::vector<Event> events_;
  std::uint32_t end_ = 0;
};

// A format 1 file (format 0 for a single track) with ticksPerQuarter ticks to the quarter note.
std::vector<std::uint8_t> EncodeMidiFile(int ticksPerQuarter, const std::vector<MidiTrack>& tracks);

}  // namespace tomtura::sound_maker
