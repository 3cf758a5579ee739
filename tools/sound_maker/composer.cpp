#include "composer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "midi_writer.h"
#include "rng.h"

namespace tomtura::sound_maker {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerUnit = kTicksPerQuarter / 4;  // the grid: sixteenth notes
constexpr int kMelodyChannel = 0;
constexpr int kHarmonyChannel = 1;
constexpr int kBassChannel = 2;
constexpr int kDrumChannel = 9;  // General MIDI percussion

int Pc(int key) {
  return ((key % 12) + 12) % 12;
}

using PcSet = std::array<bool, 12>;

struct Mode {
  const char* name;
  std::array<int, 7> steps;
  int aboveParentMajor;  // semitones from the major key with the same notes
  bool minor;
};
constexpr Mode kIonian{"major", {0, 2, 4, 5, 7, 9, 11}, 0, false};
constexpr Mode kDorian{"Dorian", {0, 2, 3, 5, 7, 9, 10}, 2, false};
constexpr Mode kMixolydian{"Mixolydian", {0, 2, 4, 5, 7, 9, 10}, 7, false};
constexpr Mode kAeolian{"minor", {0, 2, 3, 5, 7, 8, 10}, 9, true};
constexpr Mode kLydian{"Lydian", {0, 2, 4, 6, 7, 9, 11}, 5, false};

enum class Accomp { kPad, kBlocks, kArpeggio, kWaltz, kOffbeat, kComp, kStrum };
enum class BassLine { kRootFifth, kStaccato, kWalking, kPulse, kSyncopated, kWaltz, kLong };
enum class Drums { kNone, kSoftPop, kShaker, kWaltz, kBrushes, kHand, kRide };

struct Style {
  int key;  // pitch class of the tonic
  const Mode* mode;
  int beats;  // quarter notes to the bar: 3 or 4
  int bpm;
  int melodyTonic;                                 // MIDI key of the tonic in the melody's register
  int melodyProgram, harmonyProgram, bassProgram;  // General MIDI numbers, from 0
  Accomp accompA, accompB;
  BassLine bass;
  Drums drums;
  const char* form;          // the sections in order
  const char* progressionA;  // eight bars, '|' between bars, up to two chords in a bar
  const char* openEnding;    // A's last two bars when another A follows
  const char* progressionB;  // eight bars, ending open
  const char* outro;         // two bars after the last A
  std::uint32_t seed;
};

// The ten pieces. Chords are Roman numerals over the tonic (upper case major, lower case
// minor, b for lowered, 7 / maj7 / o for sevenths and diminished).
const std::array<Style, kPieceCount> kStyles{{
    {5, &kIonian, 4, 108, 77, 73, 0, 32, Accomp::kArpeggio, Accomp::kBlocks, BassLine::kRootFifth,
     Drums::kSoftPop, "AABBA", "I | IV | vi | V | I | IV | ii V7 | I", "ii | V",
     "IV | V | iii | vi | ii | V | IV | V7", "IV | I", 0x1001},
    {2, &kDorian, 4, 92, 74, 12, 24, 33, Accomp::kStrum, Accomp::kArpeggio, BassLine::kSyncopated,
     Drums::kShaker, "AABA", "i7 | IV | i7 | IV | bIII | bVII | IV V | i", "ii7 | V",
     "bVII | IV | bIII | i7 | bVII | IV | ii7 | V", "IV | i", 0x2002},
    {7, &kIonian, 3, 132, 67, 71, 0, 32, Accomp::kWaltz, Accomp::kWaltz, BassLine::kWaltz,
     Drums::kWaltz, "AABBAABA", "I | iii | IV | I | ii | V7 | V7 | I", "ii | V7",
     "IV | IV | I | vi | ii | II7 | V | V7", "IV | I", 0x3003},
    {3, &kIonian, 4, 76, 75, 11, 48, 35, Accomp::kPad, Accomp::kPad, BassLine::kRootFifth,
     Drums::kBrushes, "ABA", "Imaj7 | vi7 | ii7 | V7 | Imaj7 | IVmaj7 | ii7 V7 | I", "ii7 | V7",
     "IVmaj7 | iii7 | vi7 | ii7 | IVmaj7 | iii7 vi7 | ii7 | V7", "IVmaj7 | I", 0x4004},
    {9, &kMixolydian, 4, 120, 69, 75, 25, 32, Accomp::kStrum, Accomp::kStrum, BassLine::kRootFifth,
     Drums::kHand, "AABBA", "I | bVII | IV | I | vi | bVII | IV bVII | I", "IV | v",
     "IV | I | bVII | IV | ii | v | IV | bVII", "bVII | I", 0x5005},
    {10, &kIonian, 4, 100, 70, 4, 26, 32, Accomp::kComp, Accomp::kComp, BassLine::kWalking,
     Drums::kRide, "AABA", "Imaj7 | vi7 | ii7 | V7 | iii7 | vi7 | ii7 V7 | Imaj7", "ii7 | V7",
     "IVmaj7 | iii7 | II7 | ii7 V7 | IVmaj7 | iii7 vi7 | II7 | V7", "IVmaj7 | Imaj7", 0x6006},
    {4, &kAeolian, 3, 84, 76, 68, 46, 42, Accomp::kArpeggio, Accomp::kArpeggio, BassLine::kLong,
     Drums::kNone, "AABBA", "i | iv | V | i | bVI | bIII | iv V | i", "iv | V",
     "bIII | bVII | bVI | bIII | iv | i | bVI | V", "iv | i", 0x7007},
    {0, &kIonian, 4, 140, 72, 13, 0, 58, Accomp::kOffbeat, Accomp::kOffbeat, BassLine::kStaccato,
     Drums::kSoftPop, "AABABA", "I | ii | V | I | IV | I | ii V | I", "IV | V",
     "vi | iii | IV | I | vi | II7 | V | V7", "IV | I", 0x8008},
    {1, &kLydian, 4, 70, 73, 0, 89, 43, Accomp::kPad, Accomp::kPad, BassLine::kLong, Drums::kNone,
     "ABA", "Imaj7 | II | iii7 | II | vi7 | V | II | Imaj7", "vi7 | II",
     "vi7 | iii7 | V | II | vi7 | iii7 | II | V", "II | Imaj7", 0x9009},
    {11, &kAeolian, 4, 112, 71, 108, 27, 33, Accomp::kArpeggio, Accomp::kArpeggio, BassLine::kPulse,
     Drums::kShaker, "AABBA", "i | bVI | bVII | i | iv | bVI | V | i", "iv | V",
     "bVI | bVII | bIII | bVI | iv | i | bVI | V", "iv | i", 0xA00A},
}};

const char* KeyName(int pc) {
  static const char* const kNames[] = {"C",  "Db", "D",  "Eb", "E",  "F",
                                       "F#", "G",  "Ab", "A",  "Bb", "B"};
  return kNames[Pc(pc)];
}

// Sharps (negative: flats) of the major key on each pitch class.
int SharpsOfMajor(int pc) {
  static const int kSharps[] = {0, -5, 2, -3, 4, -1, -6, 1, -4, 3, -2, 5};
  return kSharps[Pc(pc)];
}

const char* InstrumentName(int program) {
  switch (program) {
    case 0:
      return "acoustic grand piano";
    case 4:
      return "electric piano";
    case 11:
      return "vibraphone";
    case 12:
      return "marimba";
    case 13:
      return "xylophone";
    case 24:
      return "nylon guitar";
    case 25:
      return "steel guitar";
    case 26:
      return "jazz guitar";
    case 27:
      return "clean electric guitar";
    case 32:
      return "acoustic bass";
    case 33:
      return "fingered bass";
    case 35:
      return "fretless bass";
    case 42:
      return "cello";
    case 43:
      return "contrabass";
    case 46:
      return "harp";
    case 48:
      return "string ensemble";
    case 58:
      return "tuba";
    case 68:
      return "oboe";
    case 71:
      return "clarinet";
    case 73:
      return "flute";
    case 75:
      return "pan flute";
    case 89:
      return "warm pad";
    case 108:
      return "kalimba";
    default:
      return "instrument";
  }
}

// ---- Chords ------------------------------------------------------------------------------

struct Chord {
  int root = 0;            // pitch class
  std::vector<int> tones;  // pitch classes, root first, then upwards
  bool Has(int key) const { return std::find(tones.begin(), tones.end(), Pc(key)) != tones.end(); }
};

Chord ParseChord(std::string_view text, int key) {
  std::size_t i = 0;
  int shift = 0;
  for (; i < text.size() && (text[i] == 'b' || text[i] == '#'); ++i)
    shift += text[i] == 'b' ? -1 : 1;
  std::size_t j = i;
  std::string numeral;
  for (; j < text.size() && std::string_view("IViv").find(text[j]) != std::string_view::npos; ++j)
    numeral += char(std::toupper(static_cast<unsigned char>(text[j])));
  static const std::pair<std::string_view, int> kDegrees[] = {
      {"I", 0}, {"II", 2}, {"III", 4}, {"IV", 5}, {"V", 7}, {"VI", 9}, {"VII", 11}};
  const auto degree = std::find_if(std::begin(kDegrees), std::end(kDegrees),
                                   [&](const auto& d) { return d.first == numeral; });
  if (degree == std::end(kDegrees)) throw std::invalid_argument("bad chord " + std::string(text));
  const bool major = std::isupper(static_cast<unsigned char>(text[i])) != 0;
  const std::string_view suffix = text.substr(j);
  std::vector<int> intervals;
  if (suffix.empty()) {
    intervals = major ? std::vector<int>{0, 4, 7} : std::vector<int>{0, 3, 7};
  } else if (suffix == "7") {
    intervals = major ? std::vector<int>{0, 4, 7, 10} : std::vector<int>{0, 3, 7, 10};
  } else if (suffix == "maj7") {
    intervals = {0, 4, 7, 11};
  } else if (suffix == "o") {
    intervals = {0, 3, 6};
  } else {
    throw std::invalid_argument("bad chord " + std::string(text));
  }
  Chord chord;
  chord.root = Pc(key + degree->second + shift);
  for (int interval : intervals) chord.tones.push_back(Pc(chord.root + interval));
  return chord;
}

// Bars of chords from "I | IV V | ...".
std::vector<std::vector<Chord>> ParseBars(std::string_view text, int key) {
  std::vector<std::vector<Chord>> bars(1);
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
    } else if (text[at] == '|') {
      bars.emplace_back();
      ++at;
    } else {
      const std::size_t end = std::min(text.find_first_of(" |", at), text.size());
      bars.back().push_back(ParseChord(text.substr(at, end - at), key));
      at = end;
    }
  }
  for (const auto& bar : bars)
    if (bar.empty() || bar.size() > 2) throw std::invalid_argument("bad progression");
  return bars;
}

// ---- Pitch helpers -----------------------------------------------------------------------

// steps notes of set up (or down) from pitch; 0 steps: the nearest note of the set.
int StepFrom(int pitch, int steps, const PcSet& set) {
  if (steps == 0) {
    for (int d = 0; d < 12; ++d) {
      if (set[std::size_t(Pc(pitch + d))]) return pitch + d;
      if (set[std::size_t(Pc(pitch - d))]) return pitch - d;
    }
    return pitch;
  }
  const int dir = steps > 0 ? 1 : -1;
  for (int n = std::abs(steps); n > 0; --n) {
    do pitch += dir;
    while (!set[std::size_t(Pc(pitch))]);
  }
  return pitch;
}

int NearestChordTone(int pitch, const Chord& chord, int preferDir) {
  const int dir = preferDir < 0 ? -1 : 1;
  for (int d = 0; d < 12; ++d) {
    if (chord.Has(pitch + d * dir)) return pitch + d * dir;
    if (chord.Has(pitch - d * dir)) return pitch - d * dir;
  }
  return pitch;
}

int Sign(int x) {
  return (x > 0) - (x < 0);
}

// The chord tone reached first going in dir (within a third), else the nearest one: a note
// moved onto the chord keeps the direction the line was going.
int SnapAlong(int key, const Chord& chord, int dir) {
  if (dir != 0)
    for (int d = 0; d <= 4; ++d)
      if (chord.Has(key + d * dir)) return key + d * dir;
  return NearestChordTone(key, chord, dir);
}

// A note a semitone from a chord tone it is not: harsh when it falls on a beat.
bool Clashes(int key, const Chord& chord) {
  return !chord.Has(key) && (chord.Has(key + 1) || chord.Has(key - 1));
}

// The chord without its seventh: where a phrase may come to rest.
Chord Triad(const Chord& chord) {
  Chord triad = chord;
  triad.tones.resize(std::min<std::size_t>(3, triad.tones.size()));
  return triad;
}

// ---- Rhythms (in sixteenths; negative lengths are rests) ---------------------------------

using Rhythm = std::vector<int>;

const std::vector<Rhythm>& MovingRhythms(int beats) {
  static const std::vector<Rhythm> kFour{{4, 4, 4, 4},    {6, 2, 4, 4},       {4, 2, 2, 4, 4},
                                         {2, 2, 4, 4, 4}, {4, 4, 2, 2, 4},    {6, 2, 6, 2},
                                         {4, 4, 6, 2},    {8, 2, 2, 4},       {3, 1, 4, 4, 4},
                                         {4, 6, 2, 4},    {4, 2, 2, 2, 2, 4}, {2, 2, 2, 2, 4, 4}};
  static const std::vector<Rhythm> kThree{{4, 4, 4}, {6, 2, 4}, {4, 2, 2, 4}, {2, 2, 4, 4},
                                          {8, 2, 2}, {4, 6, 2}, {3, 1, 4, 4}, {2, 2, 2, 2, 4}};
  return beats == 3 ? kThree : kFour;
}

const std::vector<Rhythm>& ClosingRhythms(int beats) {
  static const std::vector<Rhythm> kFour{{8, 8},    {4, 4, 8},  {6, 2, 8},    {12, 4},
                                         {8, 4, 4}, {4, 8, -4}, {2, 2, 4, 8}, {4, 12}};
  static const std::vector<Rhythm> kThree{{8, 4}, {12}, {4, 8}, {6, 2, 4}, {10, 2}};
  return beats == 3 ? kThree : kFour;
}

const std::vector<Rhythm>& ApproachRhythms(int beats) {
  static const std::vector<Rhythm> kFour{
      {4, 4, 4, 4}, {6, 2, 4, 4}, {8, 4, 4}, {4, 4, 8}, {4, 2, 2, 8}};
  static const std::vector<Rhythm> kThree{{4, 4, 4}, {6, 2, 4}, {4, 2, 2, 4}, {8, 4}};
  return beats == 3 ? kThree : kFour;
}

int NoteCount(const Rhythm& rhythm) {
  return int(std::count_if(rhythm.begin(), rhythm.end(), [](int d) { return d > 0; }));
}

// ---- Motifs --------------------------------------------------------------------------------

// The material of one section's melody: rhythms for its kinds of bar and the steps between
// notes; every phrase of the section is built from it.
struct Motif {
  Rhythm opening, answer, answerAlt, moving, approach;
  std::vector<int> openingSteps, answerSteps, movingSteps;
  int shift = 2;  // scale steps by which bars 3-4 restate bars 1-2
  bool fromBelow = false;
};

// Scale steps for count notes, mostly in direction `tendency`; after a leap the line turns.
std::vector<int> Contour(Rng& rng, int count, int tendency) {
  std::vector<int> steps;
  int last = 0;
  for (int i = 0; i < count; ++i) {
    const int r = rng.Below(100);
    const int size = r < 55 ? 1 : r < 85 ? 2 : r < 93 ? 3 : 0;
    int dir = rng.Percent(75) ? tendency : -tendency;
    if (dir == 0) dir = rng.Percent(50) ? 1 : -1;
    if (std::abs(last) >= 3) dir = -Sign(last);
    last = size * dir;
    steps.push_back(last);
  }
  return steps;
}

Motif MakeMotif(Rng& rng, const Style& style, bool contrast) {
  const auto pick = [&](const std::vector<Rhythm>& pool) {
    for (int tries = 0;; ++tries) {
      const Rhythm& r = pool[std::size_t(rng.Below(int(pool.size())))];
      // Quick pieces keep away from dotted sixteenths.
      const bool busy = std::find(r.begin(), r.end(), 1) != r.end();
      if (!busy || style.bpm < 110 || tries > 20) return r;
    }
  };
  Motif m;
  m.opening = pick(MovingRhythms(style.beats));
  m.answer = pick(ClosingRhythms(style.beats));
  m.answerAlt = pick(ClosingRhythms(style.beats));
  do m.moving = pick(MovingRhythms(style.beats));
  while (m.moving == m.opening);
  m.approach = pick(ApproachRhythms(style.beats));
  const int up = contrast ? -1 : 1;  // the second section turns the shape round
  m.openingSteps = Contour(rng, NoteCount(m.opening), up);
  m.answerSteps = Contour(rng, std::max(NoteCount(m.answer), NoteCount(m.answerAlt)), -up);
  m.movingSteps = Contour(rng, NoteCount(m.moving), -1);
  static const int kShifts[] = {2, 1, -1, 3};
  m.shift = kShifts[rng.Below(4)];
  m.fromBelow = rng.Percent(50);
  return m;
}

// ---- The piece -----------------------------------------------------------------------------

enum class Part { kIntro, kA, kB, kOutro };
enum class Ending { kOpen, kClosed, kFinal };

struct Span {
  int start, length;  // sixteenths from the beginning
  Chord chord;
  std::vector<int> voicing;  // the accompaniment's keys for this chord
};

struct Bar {
  int start;
  Part part;
  int index;  // within its section
  bool sectionEnd;
};

struct Note {
  int start, length;  // ticks
  int key, velocity;
};

class Composer {
 public:
  explicit Composer(const Style& style) : style_(style), rng_(style.seed) {
    for (int step : style.mode->steps) scale_[std::size_t(Pc(style.key + step))] = true;
  }

  Composition Compose(int number);

 private:
  int BarUnits() const { return style_.beats * 4; }
  int Low() const { return style_.melodyTonic - 7; }
  int High() const { return style_.melodyTonic + 12; }

  void AddBars(const std::vector<std::vector<Chord>>& chords, Part part);
  void Voice();
  const Span& SpanAt(int unit) const;
  // The mode's notes, bent to the chord: a chord tone outside the mode replaces its
  // neighbours, so that a major dominant in a minor key gets its leading note.
  PcSet ScaleAt(int unit) const;

  void Melody();
  void Phrase(std::size_t firstBar, const Motif& m, Ending ending, int variation, int anchor,
              int velocity);
  int RealiseBar(const Rhythm& rhythm, const std::vector<int>& steps, std::size_t bar,
                 std::optional<int> first, int velocity, bool invert = false);
  void Approach(const Rhythm& rhythm, std::size_t bar, int goal, bool fromBelow, int velocity);
  void Melodic(int unit, int units, int key, int velocity);

  void Harmony();
  void Bass();
  void Percussion();
  MidiTrack Conductor(int number, std::vector<std::pair<int, std::uint32_t>>& tempi) const;

  const Style& style_;
  Rng rng_;
  PcSet scale_{};
  std::vector<Span> spans_;
  std::vector<Bar> bars_;
  int prev_ = 0;  // the melody's last key
  std::vector<Note> melody_, harmony_, bass_, drums_;
};

void Composer::AddBars(const std::vector<std::vector<Chord>>& chords, Part part) {
  const int units = BarUnits();
  for (std::size_t i = 0; i < chords.size(); ++i) {
    const int start = int(bars_.size()) * units;
    bars_.push_back({start, part, int(i), i + 1 == chords.size()});
    if (chords[i].size() == 1) {
      spans_.push_back({start, units, chords[i][0], {}});
    } else {  // two chords: halves in 4/4, two beats and one in 3/4
      constexpr int first = 8;
      spans_.push_back({start, first, chords[i][0], {}});
      spans_.push_back({start + first, units - first, chords[i][1], {}});
    }
  }
}

const Span& Composer::SpanAt(int unit) const {
  auto it = std::upper_bound(spans_.begin(), spans_.end(), unit,
                             [](int u, const Span& s) { return u < s.start; });
  return *(it == spans_.begin() ? it : it - 1);
}

PcSet Composer::ScaleAt(int unit) const {
  PcSet set = scale_;
  for (int tone : SpanAt(unit).chord.tones) {
    if (set[std::size_t(tone)]) continue;
    for (int near : {Pc(tone + 1), Pc(tone - 1)})
      if (!SpanAt(unit).chord.Has(near)) set[std::size_t(near)] = false;
    set[std::size_t(tone)] = true;
  }
  return set;
}

// Close voicings in the middle register; each chord takes the inversion nearest the last.
void Composer::Voice() {
  constexpr int kLow = 52, kHigh = 74;
  std::vector<int> previous;
  for (Span& span : spans_) {
    std::vector<int> best;
    int bestScore = 1 << 30;
    const std::size_t n = span.chord.tones.size();
    for (std::size_t rot = 0; rot < n; ++rot) {
      for (int octave = 0; octave < 2; ++octave) {
        std::vector<int> v;
        int key = kLow + Pc(span.chord.tones[rot] - kLow) + 12 * octave;
        v.push_back(key);
        for (std::size_t k = 1; k < n; ++k) {
          do ++key;
          while (Pc(key) != span.chord.tones[(rot + k) % n]);
          v.push_back(key);
        }
        if (v.back() > kHigh) continue;
        int score = 0;
        if (previous.empty()) {
          score = std::abs(v.front() + v.back() - (kLow + kHigh));
        } else {
          for (int a : v) {
            int nearest = 1 << 20;
            for (int b : previous) nearest = std::min(nearest, std::abs(a - b));
            score += nearest;
          }
        }
        if (score < bestScore) bestScore = score, best = v;
      }
    }
    span.voicing = best;
    previous = best;
  }
}

void Composer::Melodic(int unit, int units, int key, int velocity) {
  melody_.push_back(
      {unit * kTicksPerUnit, units * kTicksPerUnit - 12, key, velocity + rng_.Below(7) - 3});
}

// One bar of the motif; first, when given, is where the bar starts. Returns its first key.
int Composer::RealiseBar(const Rhythm& rhythm, const std::vector<int>& steps, std::size_t bar,
                         std::optional<int> first, int velocity, bool invert) {
  const int start = bars_[bar].start;
  int offset = 0, index = 0, firstKey = prev_;
  for (int length : rhythm) {
    if (length < 0) {
      offset -= length;
      continue;
    }
    const int unit = start + offset;
    const Chord& chord = SpanAt(unit).chord;
    const PcSet scale = ScaleAt(unit);
    int step = steps.empty() ? 0 : steps[std::size_t(index) % steps.size()];
    if (invert) step = -step;
    int key;
    if (index == 0 && first) {
      key = NearestChordTone(*first, chord, Sign(*first - prev_));
    } else {
      key = StepFrom(prev_, step, scale);
      if (key > High() || key < Low()) key = StepFrom(prev_, -step, scale);
      const bool strong = offset == 0 || (style_.beats == 4 && offset == 8);
      if (strong || length >= 8 || (offset % 4 == 0 && Clashes(key, chord)))
        key = SnapAlong(key, chord, Sign(key - prev_));
      // No tritone leaps: the nearest chord tone (or, off the beat, scale note) that avoids one.
      for (int d = 1; std::abs(key - prev_) == 6 && d <= 2; ++d) {
        for (int candidate : {key - d, key + d}) {
          const bool fits =
              chord.Has(candidate) || (offset % 4 != 0 && scale[std::size_t(Pc(candidate))]);
          if (fits && std::abs(candidate - prev_) != 6) {
            key = candidate;
            break;
          }
        }
      }
    }
    while (key > High()) key -= 12;
    while (key < Low()) key += 12;
    if (std::abs(key - prev_) > 9 && key - 12 * Sign(key - prev_) >= Low() &&
        key - 12 * Sign(key - prev_) <= High())
      key -= 12 * Sign(key - prev_);
    const int accent = offset == 0 ? 8 : (offset % 4 == 0 ? 3 : 0);
    Melodic(unit, length, key, velocity + accent);
    if (index == 0) firstKey = key;
    prev_ = key;
    offset += length;
    ++index;
  }
  return firstKey;
}

// A bar that walks by step to the phrase's goal, arriving from a neighbour note.
void Composer::Approach(const Rhythm& rhythm, std::size_t bar, int goal, bool fromBelow,
                        int velocity) {
  const int start = bars_[bar].start;
  std::vector<int> offsets;
  for (int offset = 0, i = 0; i < int(rhythm.size());
       offset += std::abs(rhythm[std::size_t(i)]), ++i)
    if (rhythm[std::size_t(i)] > 0) offsets.push_back(offset);
  const auto line = [&](int dir) {
    std::vector<int> keys(offsets.size());
    int key = goal;
    for (std::size_t k = offsets.size(); k-- > 0;) {
      const int unit = start + offsets[k];
      key = StepFrom(key, dir, ScaleAt(unit));
      const bool strong = offsets[k] == 0 || (style_.beats == 4 && offsets[k] == 8);
      if (k + 1 < offsets.size() &&
          (offsets[k] == 0 || (strong && Clashes(key, SpanAt(unit).chord))))
        key = NearestChordTone(key, SpanAt(unit).chord, dir);
      keys[k] = key;
    }
    return keys;
  };
  const std::vector<int> below = line(-1), above = line(1);
  const auto fits = [&](const std::vector<int>& keys) {
    return std::all_of(keys.begin(), keys.end(), [&](int k) { return k >= Low() && k <= High(); });
  };
  const auto leap = [&](const std::vector<int>& keys) { return std::abs(keys.front() - prev_); };
  bool useBelow = fromBelow ? fits(below) : !fits(above);
  if (fits(below) && fits(above) && std::abs(leap(below) - leap(above)) > 5)
    useBelow = leap(below) < leap(above);
  const std::vector<int>& keys = useBelow ? below : above;
  std::size_t k = 0;
  for (int offset = 0, i = 0; i < int(rhythm.size()); ++i) {
    const int length = rhythm[std::size_t(i)];
    if (length > 0) Melodic(start + offset, length, keys[k++], velocity + (offset == 0 ? 6 : 0));
    offset += std::abs(length);
  }
  prev_ = keys.back();
}

// An eight-bar phrase: the motif, its restatement a step or two away, the motif again (turned
// upside down on repeats), a moving bar, the approach and the goal.
void Composer::Phrase(std::size_t b, const Motif& m, Ending ending, int variation, int anchor,
                      int velocity) {
  prev_ = anchor;
  const int home = RealiseBar(m.opening, m.openingSteps, b, anchor, velocity);
  RealiseBar(m.answer, m.answerSteps, b + 1, std::nullopt, velocity);
  const int shifted = StepFrom(home, variation % 2 == 1 ? -m.shift : m.shift, scale_);
  RealiseBar(m.opening, m.openingSteps, b + 2, shifted, velocity + 2);
  RealiseBar(variation > 0 ? m.answerAlt : m.answer, m.answerSteps, b + 3, std::nullopt, velocity);
  RealiseBar(m.opening, m.openingSteps, b + 4, StepFrom(home, 2, scale_), velocity + 4,
             variation > 0);
  RealiseBar(m.moving, m.movingSteps, b + 5, std::nullopt, velocity + 3);

  const Span& last = SpanAt(bars_[b + 7].start);
  int goal;
  if (ending == Ending::kOpen) {
    goal = NearestChordTone(prev_, Triad(last.chord), -1);
  } else {  // the tonic, in the octave nearer the line
    goal = style_.melodyTonic;
    if (std::abs(goal + 12 - prev_) < std::abs(goal - prev_)) goal += 12;
  }
  while (goal > High()) goal -= 12;
  while (goal < Low()) goal += 12;
  Approach(m.approach, b + 6, goal, m.fromBelow, velocity + 2);
  const int hold = ending == Ending::kFinal ? BarUnits() : BarUnits() - 4;
  Melodic(bars_[b + 7].start, hold, goal, velocity + 4);
  prev_ = goal;
}

void Composer::Melody() {
  Rng motifs(style_.seed * 7919u + 1u);
  const Motif a = MakeMotif(motifs, style_, false);
  const Motif bMotif = MakeMotif(motifs, style_, true);
  const std::string_view form = style_.form;
  const int anchorA = StepFrom(style_.melodyTonic, 2, scale_);
  const int anchorB = StepFrom(style_.melodyTonic, 4, scale_);
  int seenA = 0, seenB = 0;
  std::size_t b = 2;  // after the introduction
  for (std::size_t s = 0; s < form.size(); ++s, b += 8) {
    if (form[s] == 'A') {
      const Ending ending = s + 1 == form.size() ? Ending::kFinal
                            : form[s + 1] == 'A' ? Ending::kOpen
                                                 : Ending::kClosed;
      Phrase(b, a, ending, seenA++, anchorA, 80);
    } else {
      Phrase(b, bMotif, Ending::kOpen, seenB++, anchorB, 84);
    }
  }
  // Coda: the opening once more, softly, then the tonic.
  RealiseBar(a.opening, a.openingSteps, b, anchorA, 70);
  int last = style_.melodyTonic;
  if (std::abs(last + 12 - prev_) < std::abs(last - prev_)) last += 12;
  Melodic(bars_[b + 1].start, BarUnits(), last, 72);
}

// ---- Accompaniment ------------------------------------------------------------------------

struct Hit {
  int pos, length, velocity;
  int voice;  // an index into the voicing (past its top: the bottom an octave up), or:
};
constexpr int kAll = -1, kDown = -2, kUp = -3;  // the whole chord; strummed down or up

std::vector<Hit> AccompHits(Accomp accomp, int beats) {
  const bool three = beats == 3;
  switch (accomp) {
    case Accomp::kBlocks:
      if (three) return {{0, 12, 46, kAll}};
      return {{0, 8, 48, kAll}, {8, 8, 42, kAll}};
    case Accomp::kArpeggio: {
      static const int kFour[] = {0, 1, 2, 3, 2, 1, 2, 1};
      static const int kThree[] = {0, 1, 2, 3, 2, 1};
      std::vector<Hit> hits;
      for (int i = 0; i < beats * 2; ++i)
        hits.push_back(
            {2 * i, 4, i == 0 ? 50 : (i % 2 == 1 ? 40 : 45), three ? kThree[i] : kFour[i]});
      return hits;
    }
    case Accomp::kWaltz:
    case Accomp::kOffbeat:
      if (three) return {{4, 3, 42, kAll}, {8, 3, 40, kAll}};
      return {{4, 3, 44, kAll}, {12, 3, 42, kAll}};
    case Accomp::kComp:
      if (three) return {{0, 3, 42, kAll}, {6, 4, 38, kAll}};
      return {{0, 3, 44, kAll}, {6, 2, 38, kAll}, {10, 4, 40, kAll}};
    case Accomp::kStrum:
      if (three) return {{0, 4, 46, kDown}, {4, 2, 38, kDown}, {6, 2, 34, kUp}, {8, 4, 40, kDown}};
      return {{0, 6, 48, kDown}, {6, 4, 40, kDown}, {10, 2, 34, kUp}, {12, 4, 42, kDown}};
    case Accomp::kPad:
      break;
  }
  return {};
}

void Composer::Harmony() {
  for (std::size_t b = 0; b < bars_.size(); ++b) {
    const Bar& bar = bars_[b];
    const bool last = b + 1 == bars_.size();
    const Accomp accomp = bar.part == Part::kB ? style_.accompB : style_.accompA;
    const int lift = bar.part == Part::kB ? 3 : 0;
    if (accomp == Accomp::kPad || last) {  // held chords; the last one ends every piece
      for (int unit = bar.start; unit < bar.start + BarUnits();) {
        const Span& span = SpanAt(unit);
        const int length = std::min(span.start + span.length, bar.start + BarUnits()) - unit;
        for (int key : span.voicing)
          harmony_.push_back({unit * kTicksPerUnit, length * kTicksPerUnit - 10, key,
                              46 + lift + rng_.Below(5) - 2});
        unit += length;
      }
      continue;
    }
    for (const Hit& hit : AccompHits(accomp, style_.beats)) {
      const int unit = bar.start + hit.pos;
      const Span& span = SpanAt(unit);
      const int length = std::min(hit.length, span.start + span.length - unit);
      const int tick = unit * kTicksPerUnit;
      const int ticks = length * kTicksPerUnit - 10;
      const int velocity = hit.velocity + lift;
      const std::vector<int>& v = span.voicing;
      if (hit.voice >= 0) {
        const std::size_t i = std::size_t(hit.voice);
        const int key = i < v.size() ? v[i] : v[i - v.size()] + 12;
        harmony_.push_back({tick, ticks, key, velocity + rng_.Below(5) - 2});
        continue;
      }
      for (std::size_t i = 0; i < v.size(); ++i) {
        const std::size_t order = hit.voice == kUp ? v.size() - 1 - i : i;
        const int delay = hit.voice == kAll ? 0 : int(i) * 14;  // a strum, string by string
        harmony_.push_back(
            {tick + delay, ticks - delay, v[order], velocity + rng_.Below(5) - 2 - int(i)});
      }
    }
  }
}

void Composer::Bass() {
  enum What { kRoot, kFifth, kThird, kOctave, kApproach };
  struct BassHit {
    int pos, length, velocity;
    What what;
  };
  const bool three = style_.beats == 3;
  std::vector<BassHit> pattern;
  switch (style_.bass) {
    case BassLine::kRootFifth:
      pattern = three ? std::vector<BassHit>{{0, 8, 70, kRoot}, {8, 4, 60, kFifth}}
                      : std::vector<BassHit>{{0, 8, 70, kRoot}, {8, 8, 62, kFifth}};
      break;
    case BassLine::kStaccato:
      pattern = three ? std::vector<BassHit>{{0, 3, 72, kRoot}}
                      : std::vector<BassHit>{{0, 3, 72, kRoot}, {8, 3, 64, kFifth}};
      break;
    case BassLine::kWalking:
      pattern =
          three ? std::vector<BassHit>{{0, 4, 70, kRoot}, {4, 4, 60, kFifth}, {8, 4, 60, kApproach}}
                : std::vector<BassHit>{{0, 4, 70, kRoot},
                                       {4, 4, 60, kThird},
                                       {8, 4, 64, kFifth},
                                       {12, 4, 60, kApproach}};
      break;
    case BassLine::kPulse:
      for (int i = 0; i < style_.beats * 2; ++i)
        pattern.push_back({2 * i, 2, i == 0 ? 70 : (i % 2 == 1 ? 54 : 60),
                           i == style_.beats * 2 - 1 ? kFifth : kRoot});
      break;
    case BassLine::kSyncopated:
      pattern = three
                    ? std::vector<BassHit>{{0, 6, 72, kRoot}, {6, 2, 58, kRoot}, {8, 4, 62, kFifth}}
                    : std::vector<BassHit>{{0, 6, 72, kRoot},
                                           {6, 2, 58, kRoot},
                                           {10, 2, 60, kFifth},
                                           {12, 4, 64, kOctave}};
      break;
    case BassLine::kWaltz:
      pattern = {{0, 4, 70, kRoot}};
      break;
    case BassLine::kLong:
      break;
  }
  const auto low = [](int pc) { return 36 + Pc(pc - 36); };  // C2 .. B2
  for (std::size_t b = 0; b < bars_.size(); ++b) {
    const Bar& bar = bars_[b];
    const bool last = b + 1 == bars_.size();
    if (style_.bass == BassLine::kLong || last) {
      for (int unit = bar.start; unit < bar.start + BarUnits();) {
        const Span& span = SpanAt(unit);
        const int length = std::min(span.start + span.length, bar.start + BarUnits()) - unit;
        bass_.push_back({unit * kTicksPerUnit, length * kTicksPerUnit - 10, low(span.chord.root),
                         64 + rng_.Below(5)});
        unit += length;
      }
      continue;
    }
    for (const BassHit& hit : pattern) {
      const int unit = bar.start + hit.pos;
      const Span& span = SpanAt(unit);
      const Chord& chord = span.chord;
      const int root = low(chord.root);
      What what = hit.what;
      if (span.start == unit && what != kOctave) what = kRoot;  // a new chord: its root
      if (style_.bass == BassLine::kWaltz && bar.index % 2 == 1) what = kFifth;
      int key = root;
      switch (what) {
        case kRoot:
          break;
        case kFifth:
          key = root + 7;
          break;
        case kOctave:
          key = root + 12;
          break;
        case kThird:
          key = root + Pc(chord.tones[1] - chord.root);
          break;
        case kApproach: {
          const int next = low(SpanAt(bar.start + BarUnits()).chord.root);
          key = rng_.Percent(50) ? next - 1 : StepFrom(next, 1, scale_);
          break;
        }
      }
      const int length = std::min(hit.length, span.start + span.length - unit);
      bass_.push_back({unit * kTicksPerUnit, length * kTicksPerUnit - 20, key,
                       hit.velocity + rng_.Below(5) - 2});
    }
  }
}

void Composer::Percussion() {
  enum : int {
    kKick = 36,
    kStick = 37,
    kClosedHat = 42,
    kPedalHat = 44,
    kLowTom = 45,
    kRideCymbal = 51,
    kHiBongo = 60,
    kLowBongo = 61,
    kMuteConga = 62,
    kOpenConga = 63,
    kLowConga = 64,
    kCabasa = 69,
    kMaracas = 70
  };
  struct DrumHit {
    int pos, key, velocity;
  };
  std::vector<DrumHit> pattern, fill;
  switch (style_.drums) {
    case Drums::kNone:
      return;
    case Drums::kSoftPop:
      pattern = {{0, kKick, 46}, {8, kKick, 38}, {4, kStick, 32}, {12, kStick, 32}};
      for (int p = 0; p < 16; p += 2) pattern.push_back({p, kClosedHat, p % 4 == 0 ? 28 : 20});
      fill = {{12, kLowTom, 30}, {14, kLowTom, 26}};
      break;
    case Drums::kShaker:
      pattern = {{0, kKick, 42}, {10, kKick, 32}};
      for (int p = 0; p < 16; ++p)
        pattern.push_back({p, kMaracas, p % 4 == 0 ? 28 : (p % 2 == 0 ? 20 : 14)});
      fill = {{12, kLowConga, 30}, {14, kLowConga, 26}};
      break;
    case Drums::kWaltz:
      pattern = {{0, kKick, 38}, {4, kPedalHat, 24}, {8, kPedalHat, 24}};
      fill = {{8, kStick, 26}, {10, kStick, 22}};
      break;
    case Drums::kBrushes:
      pattern = {{0, kKick, 28},       {0, kRideCymbal, 24},  {4, kRideCymbal, 20},
                 {8, kRideCymbal, 24}, {12, kRideCymbal, 20}, {4, kPedalHat, 22},
                 {12, kPedalHat, 22}};
      fill = {{12, kStick, 24}, {14, kStick, 20}};
      break;
    case Drums::kHand:
      for (int p = 0; p < 16; p += 2) pattern.push_back({p, kCabasa, p % 4 == 0 ? 26 : 16});
      pattern.insert(pattern.end(), {{0, kLowConga, 34},
                                     {6, kLowConga, 28},
                                     {8, kOpenConga, 32},
                                     {12, kMuteConga, 24},
                                     {14, kMuteConga, 22}});
      fill = {{12, kHiBongo, 28}, {14, kLowBongo, 26}};
      break;
    case Drums::kRide:
      pattern = {{0, kRideCymbal, 28}, {4, kRideCymbal, 26},  {6, kRideCymbal, 18},
                 {8, kRideCymbal, 28}, {12, kRideCymbal, 26}, {14, kRideCymbal, 18},
                 {4, kPedalHat, 24},   {12, kPedalHat, 24},   {0, kKick, 32},
                 {10, kKick, 24}};
      fill = {{12, kStick, 24}, {14, kStick, 22}};
      break;
  }
  for (std::size_t b = 0; b < bars_.size(); ++b) {
    const Bar& bar = bars_[b];
    if (b == 0) continue;  // the first bar belongs to the chords alone
    std::vector<DrumHit> hits;
    if (b + 1 == bars_.size()) {
      hits = {{0, kKick, 36}};
    } else {
      for (const DrumHit& h : pattern) {
        if (h.pos >= BarUnits()) continue;
        const bool kick = h.key == kKick;
        if (kick && h.pos != 0 && (bar.part == Part::kB || bar.part == Part::kIntro)) continue;
        hits.push_back(h);
      }
      const bool turn = bar.sectionEnd && bar.part != Part::kOutro;
      if (turn) hits.insert(hits.end(), fill.begin(), fill.end());
    }
    for (const DrumHit& h : hits)
      drums_.push_back({(bar.start + h.pos) * kTicksPerUnit, kTicksPerUnit, h.key,
                        h.velocity + rng_.Below(7) - 3});
  }
}

MidiTrack Composer::Conductor(int number, std::vector<std::pair<int, std::uint32_t>>& tempi) const {
  MidiTrack track;
  track.TrackName("Tomtura music " + std::to_string(number));
  track.TimeSignature(0, style_.beats, 2);
  const int parent = Pc(style_.key - style_.mode->aboveParentMajor);
  track.KeySignature(0, SharpsOfMajor(parent), style_.mode->minor);
  // A gentle slowing over the last two bars.
  const std::uint32_t beat = 60'000'000u / std::uint32_t(style_.bpm);
  const int outro = bars_[bars_.size() - 2].start * kTicksPerUnit;
  const int last = bars_.back().start * kTicksPerUnit;
  tempi = {{0, beat}, {outro, beat * 100 / 94}, {last, beat * 100 / 85}};
  for (const auto& [tick, micros] : tempi) track.Tempo(std::uint32_t(tick), micros);
  return track;
}

MidiTrack NoteTrack(const std::string& name, int channel, int program, int volume, int pan,
                    int reverb, const std::vector<Note>& notes) {
  MidiTrack track;
  track.TrackName(name);
  if (channel != kDrumChannel) track.Program(0, channel, program);
  track.Controller(0, channel, 7, volume);
  track.Controller(0, channel, 10, pan);
  track.Controller(0, channel, 91, reverb);
  for (const Note& n : notes)
    track.Note(std::uint32_t(n.start), std::uint32_t(std::max(n.length, 30)), channel, n.key,
               n.velocity);
  return track;
}

Composition Composer::Compose(int number) {
  const auto a = ParseBars(style_.progressionA, style_.key);
  const auto open = ParseBars(style_.openEnding, style_.key);
  const auto b = ParseBars(style_.progressionB, style_.key);
  if (a.size() != 8 || b.size() != 8 || open.size() != 2)
    throw std::invalid_argument("sections have eight bars");
  AddBars({a[0], a[1]}, Part::kIntro);
  const std::string_view form = style_.form;
  for (std::size_t s = 0; s < form.size(); ++s) {
    if (form[s] == 'A') {
      auto bars = a;
      if (s + 1 < form.size() && form[s + 1] == 'A')
        std::copy(open.begin(), open.end(), bars.end() - 2);
      AddBars(bars, Part::kA);
    } else {
      AddBars(b, Part::kB);
    }
  }
  AddBars(ParseBars(style_.outro, style_.key), Part::kOutro);
  Voice();
  Melody();
  Harmony();
  Bass();
  Percussion();

  std::vector<std::pair<int, std::uint32_t>> tempi;
  std::vector<MidiTrack> tracks;
  tracks.push_back(Conductor(number, tempi));
  const std::string melodyName = InstrumentName(style_.melodyProgram);
  const std::string harmonyName = InstrumentName(style_.harmonyProgram);
  const std::string bassName = InstrumentName(style_.bassProgram);
  tracks.push_back(NoteTrack("Melody: " + melodyName, kMelodyChannel, style_.melodyProgram, 100, 64,
                             40, melody_));
  tracks.push_back(NoteTrack("Chords: " + harmonyName, kHarmonyChannel, style_.harmonyProgram, 90,
                             44, 50, harmony_));
  tracks.push_back(
      NoteTrack("Bass: " + bassName, kBassChannel, style_.bassProgram, 95, 64, 20, bass_));
  if (!drums_.empty())
    tracks.push_back(NoteTrack("Percussion", kDrumChannel, 0, 90, 80, 30, drums_));
  const int end = int(bars_.size()) * BarUnits() * kTicksPerUnit;
  for (MidiTrack& t : tracks) t.EndNotBefore(std::uint32_t(end));

  Composition c;
  c.midi = EncodeMidiFile(kTicksPerQuarter, tracks);
  c.bpm = style_.bpm;
  for (std::size_t i = 0; i < tempi.size(); ++i) {
    const int until = i + 1 < tempi.size() ? tempi[i + 1].first : end;
    c.seconds += double(until - tempi[i].first) / kTicksPerQuarter * tempi[i].second / 1e6;
  }
  c.description = std::string(KeyName(style_.key)) + " " + style_.mode->name + ", " +
                  std::to_string(style_.beats) + "/4, " + std::to_string(style_.bpm) +
                  " bpm, form " + style_.form + "; " + melodyName + ", " + harmonyName + ", " +
                  bassName + (drums_.empty() ? "" : ", percussion");
  return c;
}

}  // namespace

Composition ComposePiece(int n) {
  if (n < 0 || n >= kPieceCount) throw std::out_of_range("no such piece");
  return Composer(kStyles[std::size_t(n)]).Compose(n);
}

}  // namespace tomtura::sound_maker
