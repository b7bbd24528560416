#include "physics/fracture.h"

#include "app/debug_log.h"
#include "audio/sound_effects.h"
#include "math/random_stream.h"
#include "physics/clip.h"
#include "physics/joint.h"
#include "physics/world_step.h"

#include <cmath>

namespace bb {

int32_t BrokenItemId = 0;

constexpr int SeedCount = 5;

// Draws up to five seeds inside x around local point p; returns how many.
static int scatter_seeds(const Body& x, Vec3 p, Vec3* seeds) {
    int accepted = 0;
    float spread = 0.3f * x.Radius;
    for (int draw = 0; draw < MaxSeedDraws && accepted < SeedCount; draw++) {
        float r1 = random_next(), r2 = random_next(), r3 = random_next();
        Vec3 offset = {2.0f * r3 - 1.0f, 2.0f * r2 - 1.0f, 2.0f * r1 - 1.0f};
        Vec3 candidate = vec3_add(p, vec3_scale(offset, spread));
        if (point_inside(x, candidate)) seeds[accepted++] = candidate;
    }
    return accepted;
}

// Cuts the cell of seed k out of x, the last clip into the piece's own slot.
static void cut_cell(Body& x, const Vec3* seeds, int seed_count, int k, Body& piece) {
    Body* source = &x;
    int clips = seed_count - 1;
    int done = 0, scratch = 0;
    if (clips == 0) {
        // A lone seed's cell is the whole body: one clip that keeps everything.
        clip_polyhedron(piece, x, Vec3{0, 0, 0}, -1.0f);
        return;
    }
    for (int i = 0; i < seed_count; i++) {
        if (i == k) continue;
        Vec3 n = vec3_sub(seeds[k], seeds[i]);
        float d = vec3_dot(n, vec3_scale(vec3_add(seeds[k], seeds[i]), 0.5f));
        Body& destination = ++done == clips ? piece : ClipScratch[scratch];
        clip_polyhedron(destination, *source, n, d);
        if (destination.Faces == destination.FacesEnd) {
            piece.VerticesEnd = piece.Vertices;
            piece.FaceRefsEnd = piece.FaceRefs;
            piece.FacesEnd = piece.Faces;
            return;
        }
        source = &destination;
        scratch ^= 1;
    }
}

void break_body(Body& x, Vec3 m) {
    if (x.Removed) return;
    Vec3 p = mat3_mul_vec(x.Orientation, vec3_sub(m, x.Position));
    play_sound_effect(
        1, static_cast<float>(std::pow(static_cast<double>(x.Volume / 140.0f), -0.25)), 0.25f, 0);
    if (BrokenItemId == 0) BrokenItemId = x.ItemId;

    Vec3 seeds[SeedCount];
    int seed_count = scatter_seeds(x, p, seeds);
    split_body(x, seeds, seed_count);
}

void split_body(Body& x, const Vec3* seeds, int seed_count) {
    for (int k = 0; k < seed_count; k++) {
        if (BodyCount >= MaxBodies) break;
        Body& piece = Bodies[BodyCount];
        clear_body(piece);
        allocate_polyhedron(piece, PieceVertices, PieceFaceRefs, PieceFaces);
        cut_cell(x, seeds, seed_count, k, piece);
        if (piece.Faces == piece.FacesEnd) {
            debug_log("halott", 0);
            continue;
        }
        piece.TextureIndex = x.TextureIndex;
        piece.TextureScale = x.TextureScale;
        finish_body(piece);
        recentre_body(piece, -1);
        Vec3 c = piece.Centroid;
        piece.Position =
            vec3_add(x.Position, mat3_transpose_mul_vec(vec3_scale(c, 1.01f), x.Orientation));
        finish_body(piece);
        scale_mass(piece, x.Density);
        piece.Velocity = x.Velocity;
        piece.AngularVelocity = x.AngularVelocity;
        piece.Orientation = x.Orientation;
        piece.ContactCache = nullptr;
        piece.TextureOffset = vec3_add(x.TextureOffset, c);
        piece.SoundId = x.SoundId;
        piece.SoundGain = x.SoundGain;
        if (HasStepped) piece.BreakThreshold = x.BreakThreshold * 3.0f;
        for (int j = 0; j < JointCount; j++) {
            Joint& joint = Joints[j];
            for (int end = 0; end < 2; end++) {
                Body*& body = end == 0 ? joint.BodyA : joint.BodyB;
                Vec3& anchor = end == 0 ? joint.AnchorA : joint.AnchorB;
                if (body != &x) continue;
                int nearest = 0;
                float best = vec3_length_squared(vec3_sub(anchor, seeds[0]));
                for (int s = 1; s < seed_count; s++) {
                    float d2 = vec3_length_squared(vec3_sub(anchor, seeds[s]));
                    if (d2 < best) {
                        best = d2;
                        nearest = s;
                    }
                }
                if (nearest == k) {
                    body = &piece;
                    anchor = vec3_sub(anchor, c);
                }
            }
        }
        BodyCount++;
    }
    x.Removed = 1;
}

} // namespace bb
