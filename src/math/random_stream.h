// The one uniform random stream: Marsaglia and Zaman's universal generator in
// F. James's 24-bit form (RANMAR). Every value in the state is a multiple of
// 2^-24 in [0, 1), so float arithmetic on it is exact and reproducible.
#pragma once

namespace bb {

struct RandomStreamState {
    float lag[98]; // used at 1..97
    float seq;
    float seq_step;
    float seq_mod;
    int lag_i;
    int lag_j;
};

// Starts as seeded with (1231, 7354), the fallback pair.
extern RandomStreamState RandomStream;
// The state the stream starts the program with: seeded with an out-of-range pair.
RandomStreamState initial_random_stream();

// Seeds with ij in 0..31328 and kl in 0..30081; if either is out of range,
// (1231, 7354) is used instead.
void random_seed(RandomStreamState& s, int ij, int kl);
// Next value in [0, 1).
float random_next(RandomStreamState& s);

inline void random_seed(int ij, int kl) {
    random_seed(RandomStream, ij, kl);
}
inline float random_next() {
    return random_next(RandomStream);
}

} // namespace bb
