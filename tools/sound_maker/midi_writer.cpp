#include "midi_writer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tomtura::sound_maker {
namespace {

void Tag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(tag[i]));
}

void U16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(std::uint8_t((value >> 8) & 0xFF));
  out.push_back(std::uint8_t(value & 0xFF));
}

void U32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  U16(out, value >> 16);
  U16(out, value & 0xFFFF);
}

std::uint8_t Data(int value) {
  return std::uint8_t(std::clamp(value, 0, 127));
}

std::uint8_t Status(int kind, int channel) {
  if (channel < 0 || channel > 15) throw std::invalid_argument("MIDI channel out of range");
  return std::uint8_t(kind | channel);
}

}  // namespace

void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  if (value > 0x0FFFFFFF) throw std::invalid_argument("variable-length quantity too large");
  std::uint8_t groups[4];
  int count = 0;
  do {
    groups[count++] = std::uint8_t(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(std::uint8_t(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

void MidiTrack::Add(std::uint32_t tick, Rank rank, std::vector<std::uint8_t> bytes) {
  events_.push_back({tick, rank, events_.size(), std::move(bytes)});
  end_ = std::max(end_, tick);
}

void MidiTrack::TrackName(const std::string& name) {
  std::vector<std::uint8_t> bytes{0xFF, 0x03};
  AppendVarLen(bytes, std::uint32_t(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  Add(0, kMeta, std::move(bytes));
}

void MidiTrack::Tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter) {
  Add(tick, kMeta,
      {0xFF, 0x51, 0x03, std::uint8_t(microsecondsPerQuarter >> 16),
       std::uint8_t(microsecondsPerQuarter >> 8), std::uint8_t(microsecondsPerQuarter)});
}

void MidiTrack::TimeSignature(std::uint32_t tick, int numerator, int denominatorPower) {
  // 24 MIDI clocks to the metronome click, eight 32nd notes to the quarter.
  Add(tick, kMeta,
      {0xFF, 0x58, 0x04, std::uint8_t(numerator), std::uint8_t(denominatorPower), 24, 8});
}

void MidiTrack::KeySignature(std::uint32_t tick, int sharps, bool minor) {
  Add(tick, kMeta,
      {0xFF, 0x59, 0x02, std::uint8_t(std::int8_t(sharps)), std::uint8_t(minor ? 1 : 0)});
}

void MidiTrack::Program(std::uint32_t tick, int channel, int program) {
  Add(tick, kControl, {Status(0xC0, channel), Data(program)});
}

void MidiTrack::Controller(std::uint32_t tick, int channel, int controller, int value) {
  Add(tick, kControl, {Status(0xB0, channel), Data(controller), Data(value)});
}

void MidiTrack::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
  const std::uint8_t status = Status(0x90, channel);
  Add(tick, kNoteOn, {status, Data(key), std::uint8_t(std::clamp(velocity, 1, 127))});
  Add(tick + length, kNoteOff, {status, Data(key), 0});
}

void MidiTrack::EndNotBefore(std::uint32_t tick) {
  end_ = std::max(end_, tick);
}

std::uint32_t MidiTrack::EndTick() const {
  return end_;
}

std::vector<std::uint8_t> MidiTrack::Encode() const {
  std::vector<const Event*> sorted;
  sorted.reserve(events_.size());
  for (const Event& e : events_) sorted.push_back(&e);
  std::sort(sorted.begin(), sorted.end(), [](const Event* a, const Event* b) {
    if (a->tick != b->tick) return a->tick < b->tick;
    if (a->rank != b->rank) return a->rank < b->rank;
    return a->order < b->order;
  });

  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  int running = -1;  // the status byte that may be left out; meta events cancel it
  for (const Event* e : sorted) {
    AppendVarLen(body, e->tick - now);
    now = e->tick;
    const std::uint8_t status = e->bytes[0];
    const bool meta = status == 0xFF;
    const bool repeat = !meta && status == running;
    body.insert(body.end(), e->bytes.begin() + (repeat ? 1 : 0), e->bytes.end());
    running = meta ? -1 : status;
  }
  AppendVarLen(body, end_ - now);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> chunk;
  Tag(chunk, "MTrk");
  U32(chunk, std::uint32_t(body.size()));
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> EncodeMidiFile(int ticksPerQuarter,
                                         const std::vector<MidiTrack>& tracks) {
  if (tracks.empty()) throw std::invalid_argument("a MIDI file needs a track");
  std::vector<std::uint8_t> out;
  Tag(out, "MThd");
  U32(out, 6);
  U16(out, tracks.size() == 1 ? 0 : 1);
  U16(out, std::uint32_t(tracks.size()));
  U16(out, std::uint32_t(ticksPerQuarter));
  for (const MidiTrack& track : tracks) {
    const std::vector<std::uint8_t> chunk = track.Encode();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace tomtura::sound_maker
