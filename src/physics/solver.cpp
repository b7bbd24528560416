// Contact model: accumulated impulses with the full 3x3 effective mass per
// contact point K = R_A(p) + R_B(p), and a Coulomb cone of coefficient 0.9.
// In a pass, with u the approach velocity of A against B at the point:
//   N = K^-1 u + accumulated;   g = N . n;   T = N - n g
//   g < 0: the bodies separate, the impulse is taken back entirely;
//   |T| > 0.9 g: T is scaled to 0.9 g.
// No restitution: a contact only removes approaching velocity.
#include "physics/solver.h"

#include "audio/sound_effects.h"
#include "physics/body_mechanics.h"
#include "physics/collide.h"
#include "physics/fracture.h"
#include "physics/joint.h"
#include "wrestler/wrestler.h"

#include <cmath>

namespace bb {

static void solve_contact(Contact& c, int pass) {
    if (c.PassesLeft == 0) return;
    c.PassesLeft--;
    Vec3 d;
    if (pass == 0) {
        d = c.Impulse;
    } else {
        Vec3 u =
            vec3_sub(offset_velocity(*c.BodyA, c.OffsetA), offset_velocity(*c.BodyB, c.OffsetB));
        Vec3 n = vec3_add(mat3_mul_vec(c.InverseK, u), c.Impulse);
        float g = vec3_dot(n, c.Normal);
        Vec3 next = {0, 0, 0};
        if (!(g < 0.0f)) {
            Vec3 t = vec3_sub(n, vec3_scale(c.Normal, g));
            float t2 = vec3_length_squared(t);
            if (t2 != 0.0f && t2 > 0.81f * (g * g)) t = vec3_scale(t, 0.9f * g / float_sqrt(t2));
            next = vec3_add(t, vec3_scale(c.Normal, g));
        }
        d = vec3_sub(next, c.Impulse);
        c.Impulse = next;
    }
    apply_offset_impulse(*c.BodyA, c.OffsetA, vec3_negate(d));
    apply_offset_impulse(*c.BodyB, c.OffsetB, d);
}

static void sound_impact(Body& x, float g) {
    if (g > 0.04f * x.Mass && x.SoundId != 0 && g > 3.0f * x.ImpactPeak) {
        float f = static_cast<float>(
            std::pow(static_cast<double>(x.Volume / x.SoundReferenceVolume), -0.25));
        play_sound_effect(x.SoundId, f, g * x.SoundGain, 0);
    }
    if (g > x.ImpactPeak) x.ImpactPeak = g;
}

// A quarter of the group's impulses given back before the break.
static void give_back(Contact* group, int count) {
    for (int i = 0; i < count; i++) {
        Contact& c = group[i];
        apply_impulse(*c.BodyA, c.Point, vec3_scale(c.Impulse, 0.25f));
        apply_impulse(*c.BodyB, c.Point, vec3_scale(vec3_negate(c.Impulse), 0.25f));
    }
}

static void process_impacts() {
    for (int i = 0; i < BodyCount; i++) Bodies[i].ContactCache = nullptr;
    ContactCacheEntry* writer = ContactCachePool;
    ContactCacheEntry* writer_end = ContactCachePool + MaxContactCacheEntries;
    int i = 0;
    while (i < ContactCount) {
        Contact* group = &Contacts[i];
        Body& a = *group->BodyA;
        Body& b = *group->BodyB;
        int count = 1;
        while (i + count < ContactCount && count < MaxCachedImpulses &&
               Contacts[i + count].BodyA == &a && Contacts[i + count].BodyB == &b)
            count++;
        i += count;

        float g = 0.0f;
        Vec3 sum = {0, 0, 0};
        for (int k = 0; k < count; k++) {
            g += float_sqrt(vec3_length_squared(group[k].Impulse));
            vec3_add_to(sum, group[k].Point);
        }
        Vec3 m = Vec3{sum.x / count, sum.y / count, sum.z / count};
        if (g > 0.3f && group->WarmStarted == 0) {
            sound_impact(a, g);
            sound_impact(b, g);
        }
        if (g > a.BreakThreshold) {
            give_back(group, count);
            break_body(a, m);
        }
        if (g > b.BreakThreshold) {
            give_back(group, count);
            break_body(b, m);
        }
        // 2048 contacts make at most 2048 groups, well inside the pool.
        if (writer == writer_end) continue;
        writer->Other = &b;
        writer->Count = count;
        for (int k = 0; k < count; k++) writer->Impulses[k] = group[k].Impulse;
        writer->Next = a.ContactCache;
        a.ContactCache = writer++;
    }
}

void collide_and_solve() {
    ContactCount = 0;
    PenetrationCount = 0;
    detect_collisions();
    for (int i = 0; i < JointCount; i++) {
        Joint& j = Joints[i];
        if (!j.BodyA->Removed && !j.BodyB->Removed) prepare_joint(j);
    }
    for (int i = 0; i < ContactCount; i++) {
        Contact& c = Contacts[i];
        c.OffsetA = vec3_sub(c.Point, c.BodyA->Position);
        c.OffsetB = vec3_sub(c.Point, c.BodyB->Position);
        c.InverseK = mat3_inverse(
            mat3_add(response_matrix(*c.BodyA, c.Point), response_matrix(*c.BodyB, c.Point)));
    }
    prepare_all_joint_drives();
    for (int pass = 0; pass < SolverPasses; pass++) {
        for (int i = 0; i < ContactCount; i++) solve_contact(Contacts[i], pass);
        for (int i = 0; i < JointCount; i++) {
            Joint& j = Joints[i];
            if (!j.BodyA->Removed && !j.BodyB->Removed) solve_joint(j);
        }
        apply_all_joint_drives();
    }
    process_impacts();
    for (int i = 0; i < PenetrationCount; i++) {
        PenetrationImpulse& p = Penetrations[i];
        apply_impulse(*p.BodyA, p.Point, p.Impulse);
        apply_impulse(*p.BodyB, p.Point, vec3_negate(p.Impulse));
    }
}

} // namespace bb
