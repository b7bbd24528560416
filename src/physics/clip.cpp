#include "physics/clip.h"

namespace bb {

namespace {

// One cut edge. Key holds the edge's two vertex indices (16 bits each) in the
// order the neighbouring face will search for.
struct CrossingEntry {
    uint32_t Key;
    int32_t VertexIndex; // new vertex in the destination; -1 once the cap used it
    CrossingEntry* Link; // the same face's exit, for an entering crossing
};

void make_empty(Body& b) {
    b.VerticesEnd = b.Vertices;
    b.FaceRefsEnd = b.FaceRefs;
    b.FacesEnd = b.Faces;
}

} // namespace

void clip_polyhedron(Body& dst, Body& src, Vec3 n, float d) {
    bool any_inside = false;
    for (BodyVertex* v = src.Vertices; v != src.VerticesEnd; v++) {
        v->Inside = vec3_dot(n, v->Position) > d ? 1 : 0;
        v->Remap = -1;
        any_inside |= v->Inside != 0;
    }
    // Crossing keys hold vertex indices in 16 bits; Remap holds copies in 15.
    int vertex_room = dst.VertexCapacity < 32767 ? dst.VertexCapacity : 32767;
    if (!any_inside || vertex_count(src) > 65535) {
        make_empty(dst);
        return;
    }

    CrossingEntry crossings[MaxCrossings];
    int crossing_count = 0;
    int k = 0;
    BodyFaceRef* ref = dst.FaceRefs;
    BodyFaceRef* ref_limit = dst.FaceRefs + dst.FaceRefCapacity;
    BodyFace* face = dst.Faces;
    BodyFace* face_limit = dst.Faces + dst.FaceCapacity;

    for (BodyFace* f = src.Faces; f != src.FacesEnd; f++) {
        if (face == face_limit) {
            make_empty(dst);
            return;
        }
        BodyFaceRef* face_refs = ref;
        int w = 0;
        CrossingEntry* enter = nullptr;
        CrossingEntry* exit = nullptr;
        for (int i = 0; i < f->Count; i++) {
            const BodyFaceRef& cur_ref = f->Refs[i];
            const BodyFaceRef& prev_ref = f->Refs[i == 0 ? f->Count - 1 : i - 1];
            BodyVertex* cur = cur_ref.Vertex;
            BodyVertex* prev = prev_ref.Vertex;
            uint32_t ci = static_cast<uint32_t>(cur_ref.Index);
            uint32_t pi = static_cast<uint32_t>(prev_ref.Index);
            if (cur->Inside != prev->Inside) {
                uint32_t key = ci * 65536u + pi;
                CrossingEntry* c = nullptr;
                for (int e = 0; e < crossing_count; e++)
                    if (crossings[e].Key == key) {
                        c = &crossings[e];
                        break;
                    }
                if (!c) {
                    if (crossing_count == MaxCrossings || k >= vertex_room) {
                        make_empty(dst);
                        return;
                    }
                    c = &crossings[crossing_count++];
                    *c = CrossingEntry{pi * 65536u + ci, k, nullptr};
                    Vec3 p = prev->Position, q = cur->Position;
                    float np = vec3_dot(n, p);
                    float t = (np - d) / (np - vec3_dot(n, q));
                    dst.Vertices[k] =
                        BodyVertex{vec3_sub(p, vec3_scale(vec3_sub(p, q), t)), 0, 1, -1};
                    k++;
                }
                if (cur->Inside)
                    enter = c;
                else
                    exit = c;
                if (ref == ref_limit) {
                    make_empty(dst);
                    return;
                }
                *ref++ = BodyFaceRef{&dst.Vertices[c->VertexIndex], c->VertexIndex};
                w++;
            }
            if (cur->Inside) {
                if (cur->Remap == -1) {
                    if (k >= vertex_room) {
                        make_empty(dst);
                        return;
                    }
                    dst.Vertices[k] = *cur;
                    cur->Remap = static_cast<int16_t>(k);
                    k++;
                }
                if (ref == ref_limit) {
                    make_empty(dst);
                    return;
                }
                *ref++ = BodyFaceRef{&dst.Vertices[cur->Remap], cur->Remap};
                w++;
            }
        }
        if (w < 3) continue; // dropped; its references stay unused
        *face = *f;
        face->Refs = face_refs;
        face->Count = w;
        if (enter) {
            enter->Link = exit;
            compute_face_plane(*face);
        }
        face++;
    }

    dst.VerticesEnd = dst.Vertices + k;
    if (crossing_count == 0) {
        dst.FaceRefsEnd = ref;
        dst.FacesEnd = face;
        return;
    }

    if (face == face_limit) {
        make_empty(dst);
        return;
    }
    BodyFaceRef* cap_refs = ref;
    int c = 0;
    for (int e = 0; e < crossing_count; e++) {
        CrossingEntry* start = &crossings[e];
        if (start->VertexIndex == -1) continue;
        CrossingEntry* at = start;
        do {
            // An open ring, or one that runs into another ring, cannot close.
            if (!at || at->VertexIndex == -1 || ref == ref_limit) {
                make_empty(dst);
                return;
            }
            *ref++ = BodyFaceRef{&dst.Vertices[at->VertexIndex], at->VertexIndex};
            at->VertexIndex = -1;
            c++;
            at = at->Link;
        } while (at != start);
    }
    *face = BodyFace{};
    face->Refs = cap_refs;
    face->Count = c;
    face->Weight = -1.0f;
    compute_face_plane(*face);
    dst.FaceRefsEnd = ref;
    dst.FacesEnd = face + 1;
}

} // namespace bb
