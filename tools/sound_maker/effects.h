#pragma once
// The game's ten sound effects, by the number the game plays them under:
//   0 game over (fanfare)       1 dice start rolling     2 token steps one square
//   3 passing the start square  4 a street is offered    5 rent is paid
//   6 chance card               7 community card         8 tax (the game waits for it)
//   9 the token goes to jail
#include <cstdint>
#include <vector>

namespace tomtura::sound_maker {

constexpr int kEffectCount = 10;

// Effect n as 16-bit samples at kSampleRate, faded at both ends and levelled.
std::vector<std::int16_t> MakeEffect(int n);

}  // namespace tomtura::sound_maker
