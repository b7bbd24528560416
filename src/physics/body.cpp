#include "physics/body.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bb {

Body Bodies[MaxBodies];
int32_t BodyCount = 0;
Body ClipScratch[2];

namespace {

// The geometry arrays of one body slot. They only grow, to the largest shape
// the slot has held, and are reused by every later body of the slot.
struct PolyhedronStorage {
    std::vector<BodyVertex> Vertices;
    std::vector<BodyFaceRef> FaceRefs;
    std::vector<BodyFace> Faces;
    std::vector<BodyEdge> Edges;
};

PolyhedronStorage SlotStorage[MaxBodies];
PolyhedronStorage ScratchStorage[2];

PolyhedronStorage& storage_of(const Body& body) {
    if (&body >= Bodies && &body < Bodies + MaxBodies) return SlotStorage[&body - Bodies];
    if (&body >= ClipScratch && &body < ClipScratch + 2) return ScratchStorage[&body - ClipScratch];
    // NOTE: a programming error, not bad input: every shape lives in a slot.
    std::fprintf(stderr, "brawlbox: geometry asked for a body outside the physics world\n");
    std::abort();
}

template <typename T> T* grow(std::vector<T>& v, int n) {
    if (static_cast<int>(v.size()) < n) v.resize(n);
    return v.data();
}

} // namespace

void clear_body(Body& body) {
    std::memset(&body, 0, sizeof body);
}

void allocate_polyhedron(Body& body, int vertices, int face_refs, int faces) {
    PolyhedronStorage& s = storage_of(body);
    body.Vertices = body.VerticesEnd = grow(s.Vertices, vertices);
    body.FaceRefs = body.FaceRefsEnd = grow(s.FaceRefs, face_refs);
    body.Faces = body.FacesEnd = grow(s.Faces, faces);
    body.Edges = body.EdgesEnd = grow(s.Edges, face_refs);
    body.VertexCapacity = vertices;
    body.FaceRefCapacity = face_refs;
    body.FaceCapacity = faces;
}

void allocate_clip_scratch() {
    for (Body& holder : ClipScratch) {
        clear_body(holder);
        allocate_polyhedron(holder, ScratchVertices, ScratchFaceRefs, ScratchFaces);
    }
}

bool build_polyhedron(Body& body, const Vec3* points, int point_count, const int* indices,
                      int index_count) {
    int faces = 0;
    for (int i = 0; i < index_count; i++) {
        if (indices[i] < 0)
            faces++;
        else if (indices[i] >= point_count) {
            allocate_polyhedron(body, 0, 0, 0);
            return false;
        }
    }
    allocate_polyhedron(body, point_count, index_count, faces);
    for (int i = 0; i < point_count; i++) body.Vertices[i] = BodyVertex{points[i], 0, 0, -1};
    body.VerticesEnd = body.Vertices + point_count;

    BodyFaceRef* ref = body.FaceRefs;
    BodyFaceRef* face_start = ref;
    BodyFace* face = body.Faces;
    for (int i = 0; i < index_count; i++) {
        int index = indices[i];
        if (index >= 0) {
            *ref++ = BodyFaceRef{&body.Vertices[index], index};
            continue;
        }
        *face = BodyFace{};
        face->Refs = face_start;
        face->Count = static_cast<int32_t>(ref - face_start);
        face->Weight = 1.0f;
        face->Tag = 1;
        compute_face_plane(*face);
        face++;
        face_start = ref;
    }
    // Corners after the last closing entry belong to no face.
    body.FaceRefsEnd = face_start;
    body.FacesEnd = face;
    return true;
}

void compute_face_plane(BodyFace& face) {
    Vec3 n = {0, 0, 0};
    if (face.Count >= 3) {
        Vec3 v0 = face.Refs[0].Vertex->Position;
        for (int i = 2; i < face.Count; i++) {
            Vec3 a = vec3_sub(face.Refs[i].Vertex->Position, v0);
            Vec3 b = vec3_sub(face.Refs[i - 1].Vertex->Position, v0);
            vec3_add_to(n, vec3_cross(a, b));
        }
    }
    face.Normal = n;
    face.Offset = face.Count > 0 ? vec3_dot(n, face.Refs[0].Vertex->Position) : 0.0f;
}

void build_edges(Body& body) {
    BodyEdge* edge = body.Edges;
    for (BodyFace* f = body.Faces; f != body.FacesEnd; f++) {
        for (int i = 0; i < f->Count; i++) {
            int cur = f->Refs[i].Index, prev = f->Refs[i == 0 ? f->Count - 1 : i - 1].Index;
            if (cur > prev) *edge++ = BodyEdge{cur, prev, f, nullptr};
        }
    }
    body.EdgesEnd = edge;
    for (BodyFace* f = body.Faces; f != body.FacesEnd; f++) {
        for (int i = 0; i < f->Count; i++) {
            int cur = f->Refs[i].Index, prev = f->Refs[i == 0 ? f->Count - 1 : i - 1].Index;
            if (cur >= prev) continue;
            // An open or inconsistently wound surface leaves FaceB null.
            for (BodyEdge* e = body.Edges; e != body.EdgesEnd; e++) {
                if (e->V0 == prev && e->V1 == cur) {
                    e->FaceB = f;
                    break;
                }
            }
        }
    }
}

// Six times the signed volumes of the three tetrahedra that cut the prism
// between triangle (a, b, c) and its projection onto z = 0, with their
// volume-weighted centres.
static void add_prism(Vec3 a, Vec3 b, Vec3 c, float& volume, Vec3& moment) {
    Vec3 pa = {a.x, a.y, 0.0f}, pb = {b.x, b.y, 0.0f}, pc = {c.x, c.y, 0.0f};
    float t1 = vec3_dot(vec3_sub(pa, b), vec3_cross(vec3_sub(pc, b), vec3_sub(pb, b)));
    float t2 = vec3_dot(vec3_sub(pa, b), vec3_cross(vec3_sub(a, b), vec3_sub(pc, b)));
    float t3 = vec3_dot(vec3_sub(pc, b), vec3_cross(vec3_sub(a, b), vec3_sub(c, b)));
    Vec3 c1 = vec3_scale(vec3_add(vec3_add(vec3_add(pa, pb), pc), b), 0.25f);
    Vec3 c2 = vec3_scale(vec3_add(vec3_add(vec3_add(a, b), pa), pc), 0.25f);
    Vec3 c3 = vec3_scale(vec3_add(vec3_add(vec3_add(a, b), c), pc), 0.25f);
    volume += t1 + t2 + t3;
    vec3_add_to(moment,
                vec3_add(vec3_add(vec3_scale(c1, t1), vec3_scale(c2, t2)), vec3_scale(c3, t3)));
}

MassProperties mass_properties_of(const Body& body) {
    float volume = 0.0f;
    Vec3 moment = {0, 0, 0};
    Vec3 area = {0, 0, 0};
    for (const BodyFace* f = body.Faces; f != body.FacesEnd; f++) {
        vec3_add_to(area, vec3_scale(f->Normal, f->Weight));
        if (f->Count <= 2) continue;
        Vec3 v0 = f->Refs[0].Vertex->Position;
        for (int k = 1; k <= f->Count - 2; k++)
            add_prism(v0, f->Refs[k].Vertex->Position, f->Refs[k + 1].Vertex->Position, volume,
                      moment);
    }
    return MassProperties{volume, Vec3{moment.x / volume, moment.y / volume, moment.z / volume},
                          area};
}

void compute_mass_properties(Body& body) {
    MassProperties m = mass_properties_of(body);
    body.Volume = m.Volume;
    body.Centroid = m.Centroid;
    body.FaceAreaSum = m.FaceAreaSum;
}

void finish_body(Body& body) {
    compute_mass_properties(body);
    build_edges(body);
    float largest = 0.0f;
    for (BodyVertex* v = body.Vertices; v != body.VerticesEnd; v++) {
        float d = vec3_length_squared(v->Position);
        if (d > largest) largest = d;
    }
    body.Radius = float_sqrt(largest);
    body.Density = 1.0f;
    body.ItemId = 0;
    body.Mass = body.Volume;
    body.ContactIterations = 3;
    body.Removed = 0;
    float r = 0.4f * body.Radius;
    body.Inertia = body.Mass * (r * r);
    body.InverseMass = 1.0f / body.Mass;
    body.InverseInertia = 1.0f / body.Inertia;
    body.AngularVelocity = Vec3{0, 0, 0};
    body.Velocity = Vec3{0, 0, 0};
    mat3_identity(body.Orientation);
    body.TextureOffset = Vec3{0, 0, 0};
    body.Fixed = 0;
    body.ContactCache = nullptr;
    body.BreakThreshold = 100000.0f;
    body.JointLinks = nullptr;
    body.SoundId = 0;
    body.SoundGain = 0.0f;
    body.SoundReferenceVolume = 170.0f;
}

Body* make_box(float a, float b, float c, float px, float py, float pz, int texture_index,
               float texture_scale) {
    // NOTE: callers cope with null; a full world makes nothing rather than overrun.
    if (BodyCount >= MaxBodies) return nullptr;
    static const int BoxFaces[30] = {2, 3, 7, 6, -1, 3, 1, 5, 7, -1, 0, 1, 3, 2, -1,
                                     0, 2, 6, 4, -1, 1, 0, 4, 5, -1, 6, 7, 5, 4, -1};
    Body& body = Bodies[BodyCount];
    clear_body(body);
    Vec3 corners[8];
    for (int i = 0; i < 8; i++)
        corners[i] = Vec3{(i & 1) ? -a : a, (i & 2) ? b : -b, (i & 4) ? -c : c};
    build_polyhedron(body, corners, 8, BoxFaces, 30);
    finish_body(body);
    body.Position = Vec3{px, py, pz};
    body.TextureIndex = texture_index;
    body.TextureScale = texture_scale;
    BodyCount++;
    return &body;
}

void scale_mass(Body& body, float k) {
    body.Mass *= k;
    body.InverseMass *= 1.0f / k;
    body.Density *= k;
    body.Inertia *= k;
    body.InverseInertia *= 1.0f / k;
}

void make_static(Body& body) {
    body.Fixed = 1;
    body.InverseMass = 0.0f;
    body.Mass = 1e36f;
    body.InverseInertia = 0.0f;
    body.Inertia = 1e36f;
}

void recentre_body(Body& body, int tag) {
    for (BodyVertex* v = body.Vertices; v != body.VerticesEnd; v++)
        vec3_sub_from(v->Position, body.Centroid);
    for (BodyFace* f = body.Faces; f != body.FacesEnd; f++) {
        if (f->Weight < 0.0f) f->Tag = tag;
        f->Weight = 1.0f;
        compute_face_plane(*f);
    }
}

bool point_inside(const Body& body, Vec3 p) {
    for (const BodyFace* f = body.Faces; f != body.FacesEnd; f++)
        if (vec3_dot(f->Normal, p) < f->Offset) return false;
    return true;
}

} // namespace bb
