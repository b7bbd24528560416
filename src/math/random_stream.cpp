#include "math/random_stream.h"

namespace bb {

RandomStreamState initial_random_stream() {
    RandomStreamState s;
    random_seed(s, -1, -1);
    return s;
}

RandomStreamState RandomStream = initial_random_stream();

void random_seed(RandomStreamState& s, int ij, int kl) {
    if (ij < 0 || ij > 31328 || kl < 0 || kl > 30081) {
        ij = 1231;
        kl = 7354;
    }
    int i = (ij / 177) % 177 + 2;
    int j = ij % 177 + 2;
    int k = (kl / 169) % 178 + 1;
    int l = kl % 169;
    s.lag[0] = 0.0f;
    for (int n = 1; n <= 97; n++) {
        float sum = 0.0f, t = 0.5f;
        for (int bit = 0; bit < 24; bit++) {
            int m = ((i * j) % 179) * k % 179;
            i = j;
            j = k;
            k = m;
            l = (53 * l + 1) % 169;
            if ((l * m) % 64 >= 32) sum += t;
            t *= 0.5f;
        }
        s.lag[n] = sum;
    }
    s.seq = 362436.0f / 16777216.0f;
    s.seq_step = 7654321.0f / 16777216.0f;
    s.seq_mod = 16777213.0f / 16777216.0f;
    s.lag_i = 97;
    s.lag_j = 33;
}

float random_next(RandomStreamState& s) {
    float r = s.lag[s.lag_i] - s.lag[s.lag_j];
    if (r < 0.0f) r += 1.0f;
    s.lag[s.lag_i] = r;
    if (--s.lag_i == 0) s.lag_i = 97;
    if (--s.lag_j == 0) s.lag_j = 97;
    s.seq -= s.seq_step;
    if (s.seq < 0.0f) s.seq += s.seq_mod;
    r -= s.seq;
    if (r < 0.0f) r += 1.0f;
    return r;
}

} // namespace bb
