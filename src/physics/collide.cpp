#include "physics/collide.h"

#include "game/arena.h"
#include "game/game_flow.h"
#include "physics/clip.h"
#include "physics/joint.h"
#include "physics/world.h"

namespace bb {

Contact Contacts[MaxContacts];
int32_t ContactCount = 0;
PenetrationImpulse Penetrations[MaxPenetrations];
int32_t PenetrationCount = 0;
ContactCacheEntry ContactCachePool[MaxContactCacheEntries];
int32_t DroppedContacts = 0;

const float PenetrationStiffness = -0.05f * Gravity;

bool heap_push(PlaneHeap& heap, float key, Vec3 normal) {
    if (heap.Count >= MaxHeapPlanes) return false;
    int i = heap.Count++;
    heap.Entries[i] = PlaneHeap::Entry{key, normal};
    while (i > 0) {
        int parent = (i - 1) / 2;
        if (!(heap.Entries[parent].Key > heap.Entries[i].Key)) break;
        PlaneHeap::Entry t = heap.Entries[parent];
        heap.Entries[parent] = heap.Entries[i];
        heap.Entries[i] = t;
        i = parent;
    }
    return true;
}

Vec3 heap_pop(PlaneHeap& heap) {
    Vec3 result = heap.Entries[0].PlaneNormal;
    if (heap.Count <= 1) {
        heap.Count = 0;
        return result;
    }
    heap.Entries[0] = heap.Entries[--heap.Count];
    int i = 0;
    for (;;) {
        int child = 2 * i + 1;
        if (child >= heap.Count) break;
        if (child + 1 < heap.Count && heap.Entries[child].Key > heap.Entries[child + 1].Key)
            child++;
        if (!(heap.Entries[child].Key < heap.Entries[i].Key)) break;
        PlaneHeap::Entry t = heap.Entries[child];
        heap.Entries[child] = heap.Entries[i];
        heap.Entries[i] = t;
        i = child;
    }
    return result;
}

void detect_collisions() {
    for (int i = 1; i < BodyCount; i++) {
        Body& bi = Bodies[i];
        if (bi.Removed) continue;
        bool moving = !bi.Fixed && !bi.Asleep;
        for (int j = 0; j < i; j++) {
            Body& bj = Bodies[j];
            if (bj.Removed) continue;
            if (!moving && (bj.Asleep || bj.Fixed)) continue;
            float reach = bi.Radius + bj.Radius;
            if (reach * reach > vec3_length_squared(vec3_sub(bi.Position, bj.Position)))
                collide_pair(bi, bj);
        }
    }
}

static Mat3 mat3_mul_transpose(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            r.m[3 * i + j] = a.m[3 * i] * b.m[3 * j] + a.m[3 * i + 1] * b.m[3 * j + 1] +
                             a.m[3 * i + 2] * b.m[3 * j + 2];
    return r;
}

static void stamp_ground(Body& touched, Vec3 centre) {
    touched.LastGroundTick = TickCount;
    Vec3 off = vec3_sub(centre, Vec3{0.0f, 5.0f, 0.0f});
    float limit = RingRadius + 1.0f;
    if (vec3_length_squared(off) > limit * limit) touched.LastOutsideTick = TickCount;
}

void collide_pair(Body& a, Body& b) {
    for (JointLink* l = a.JointLinks; l; l = l->Next)
        if (l->Other == &b) return;

    Mat3 r = mat3_mul_transpose(a.Orientation, b.Orientation);
    Vec3 c = mat3_mul_vec(b.Orientation, vec3_sub(a.Position, b.Position));
    PlaneHeap heap;
    heap.Count = 0;
    for (const BodyFace* f = b.Faces; f != b.FacesEnd; f++) {
        // NOTE: a shape of more faces than the heap holds cannot be tested exactly.
        if (!heap_push(heap, vec3_dot(f->Normal, c) - f->Offset, mat3_mul_vec(r, f->Normal)))
            return;
    }

    Body* source = &a;
    int next = 0;
    while (heap.Count > 0) {
        float key = heap.Entries[0].Key;
        Vec3 normal = heap_pop(heap);
        Body& destination = ClipScratch[next];
        clip_polyhedron(destination, *source, normal, -key);
        if (destination.Faces == destination.FacesEnd) return;
        source = &destination;
        next ^= 1;
    }
    const Body& overlap = *source;
    MassProperties mp = mass_properties_of(overlap);

    Vec3 q = mat3_transpose_mul_vec(mp.FaceAreaSum, a.Orientation);
    if (vec3_length_squared(q) < 1e-20f) return;
    vec3_normalize(q);

    const ContactCacheEntry* cache = nullptr;
    for (const ContactCacheEntry* e = a.ContactCache; e; e = e->Next)
        if (e->Other == &b) {
            cache = e;
            break;
        }
    int cached = cache ? cache->Count : 0;
    int used = 0;
    int passes =
        a.ContactIterations > b.ContactIterations ? a.ContactIterations : b.ContactIterations;
    Vec3 normal = vec3_negate(q);
    for (const BodyVertex* v = overlap.Vertices; v != overlap.VerticesEnd; v++) {
        if (!v->OnCut) continue;
        if (ContactCount >= MaxContacts) {
            DroppedContacts++;
            continue;
        }
        Contact& ct = Contacts[ContactCount++];
        ct.Point = body_to_world(a, v->Position);
        ct.Normal = normal;
        ct.BodyA = &a;
        ct.BodyB = &b;
        ct.PassesLeft = passes;
        if (used < cached) {
            ct.Impulse = cache->Impulses[used++];
            ct.WarmStarted = 1;
        } else {
            ct.Impulse = Vec3{0, 0, 0};
            ct.WarmStarted = 0;
        }
    }

    if (!(mp.Volume > 1e-9f)) return;
    Vec3 g = body_to_world(a, mp.Centroid);
    float s = mp.Volume / (a.InverseMass + b.InverseMass) * PenetrationStiffness;
    if (PenetrationCount < MaxPenetrations)
        Penetrations[PenetrationCount++] = PenetrationImpulse{g, vec3_scale(q, s), &a, &b};
    else
        DroppedContacts++;
    if (!b.JointLinks) stamp_ground(a, g);
    if (!a.JointLinks) stamp_ground(b, g);
    a.LastContactTick = TickCount;
    b.LastContactTick = TickCount;
    if (!b.Fixed) a.RestTicks = 0;
    if (!a.Fixed) b.RestTicks = 0;
    a.Asleep = 0;
    b.Asleep = 0;
}

} // namespace bb
