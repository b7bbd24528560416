// Rigid convex bodies and the fixed arrays of the physics world.
//
// Sign conventions, relied on by every part of the physics:
// - Face planes point INTO the body: a local point x is inside or on the
//   surface exactly when Normal . x >= Offset for every face.
// - Volume is SIX times the geometric volume (positive for inward planes).
// - Every box is made with its second half extent negative; three positive
//   extents would give outward planes and a negative volume.
// - A point at world offset r from Position moves with Velocity + r x
//   AngularVelocity (operands in this order), and an impulse J at world point
//   P changes AngularVelocity by -InverseInertia ((P - Position) x J). So
//   AngularVelocity is the negated angular velocity of the usual convention.
// - Orientation's rows are the body's local axes in world coordinates:
//   mat3_mul_vec takes world directions to local ones.
//
// Units: world units, +y up; time in ticks (1/100 s); velocities per tick.
#pragma once

#include "math/vector_math.h"

#include <cstdint>

namespace bb {

struct BodyVertex {
    Vec3 Position;  // local coordinates
    uint8_t Inside; // clip scratch
    uint8_t OnCut;  // 1 when made by a clip (lies on a cutting plane); kept by copies
    int16_t Remap;  // clip scratch: index of the copy, -1 before it is made
};

struct BodyFaceRef {
    BodyVertex* Vertex; // always the vertex at Index of the same body
    int32_t Index;
};

struct BodyFace {
    Vec3 Normal;       // inward, unnormalised: its length is twice the face's area
    float Offset;      // Normal . first corner
    BodyFaceRef* Refs; // the corner ring, Count entries
    float Weight;      // +1; -1 for a clip's cap face until recentre_body
    int32_t Tag;       // 1 for a made box's faces, -1 for a fracture piece's cut faces
    int32_t Count;     // corners, at least 3
    uint8_t Lit;       // written by the renderer only
};

struct BodyEdge {
    int32_t V0, V1;  // vertex indices, V0 > V1
    BodyFace* FaceA; // the face whose ring steps from V1 to V0
    BodyFace* FaceB; // the face whose ring steps from V0 to V1; null if the surface is open
};

struct ContactCacheEntry;
struct JointLink;

struct Body {
    BodyVertex* Vertices;
    BodyVertex* VerticesEnd;
    BodyFaceRef* FaceRefs; // all faces' corners, face after face
    BodyFaceRef* FaceRefsEnd;
    BodyFace* Faces;
    BodyFace* FacesEnd;
    BodyEdge* Edges;
    BodyEdge* EdgesEnd;
    Vec3 TextureOffset;   // added to local positions for texture coordinates
    float Radius;         // largest distance of a vertex from the local origin
    int32_t TextureIndex; // texture slot pair of the body
    float TextureScale;   // texture-space position to texture coordinates
    float Volume;         // six times the geometric volume
    Vec3 Centroid;        // local
    Vec3 FaceAreaSum;     // sum of Weight * Normal over the faces
    float BreakThreshold; // total impact impulse that breaks the body
    uint8_t Removed;      // broken or taken away; keeps its slot
    uint8_t Asleep;       // resting: not integrated
    int32_t RestTicks;    // consecutive quiet ticks
    Mat3 Orientation;     // rows: local axes in world coordinates
    Vec3 Position;        // world position of the local origin
    Vec3 AngularVelocity; // radians per tick, negated sense (see above)
    Vec3 Velocity;        // of the local origin, per tick
    float Density;        // factor the mass has been scaled by
    float Mass, InverseMass;
    float Inertia, InverseInertia;   // one scalar moment for all axes
    int32_t ItemId;                  // menu item number; 0 for none
    int32_t SoundId;                 // impact sound effect; 0 is silent
    float SoundGain;                 // impact impulse to sound volume
    float SoundReferenceVolume;      // Volume at which the sound plays at its own pitch
    float ImpactPeak;                // recent largest impact impulse, decaying
    uint8_t Fixed;                   // static: impulses and integration leave it alone
    int32_t LastContactTick;         // TickCount of the last overlap with anything
    int32_t LastGroundTick;          // ... with a body that has no joints
    int32_t LastOutsideTick;         // ... such an overlap centred outside the ring
    int32_t ContactIterations;       // solver passes that treat its contacts
    ContactCacheEntry* ContactCache; // last tick's impulses of pairs where it was A
    JointLink* JointLinks;           // the joints that tie it to other bodies

    // Room in the geometry storage, in entries; writers that could pass it check.
    int32_t VertexCapacity;
    int32_t FaceRefCapacity;
    int32_t FaceCapacity;
};

constexpr int MaxBodies = 512;
extern Body Bodies[MaxBodies];
extern int32_t BodyCount;

// Geometry holders of the clipper (bodies used only for their shape).
extern Body ClipScratch[2];

// Room a box, a clip holder and a fracture piece ask for, in entries.
constexpr int ScratchVertices = 2048, ScratchFaceRefs = 8192, ScratchFaces = 2048;
constexpr int PieceVertices = 1024, PieceFaceRefs = 4096, PieceFaces = 1024;

void clear_body(Body& body);
// Gives the body empty storage for at least this many vertices, corner
// references and faces (and one edge per reference). The storage belongs to
// the body's slot and is reused when the slot is reused, so rebuilding scenes
// never grows memory past the largest scene. Only bodies of Bodies and the
// ClipScratch holders have storage.
void allocate_polyhedron(Body& body, int vertices, int face_refs, int faces);
void allocate_clip_scratch();

// Builds vertices and faces from points and an index list in which a negative
// entry closes a face. Returns false, leaving the body without faces, when an
// index is out of range or a face has fewer than three corners.
bool build_polyhedron(Body& body, const Vec3* points, int point_count, const int* indices,
                      int index_count);
void compute_face_plane(BodyFace& face);
void build_edges(Body& body);
void compute_mass_properties(Body& body);

struct MassProperties {
    float Volume; // six times the geometric volume
    Vec3 Centroid;
    Vec3 FaceAreaSum;
};
// What compute_mass_properties would store, without storing it.
MassProperties mass_properties_of(const Body& body);
void finish_body(Body& body);

// Appends a box of half extents (a, b, c) at (px, py, pz); b must be negative
// for inward planes. Returns null when all slots are in use.
Body* make_box(float a, float b, float c, float px, float py, float pz, int texture_index,
               float texture_scale);

void scale_mass(Body& body, float k);
void make_static(Body& body);
void recentre_body(Body& body, int tag);
bool point_inside(const Body& body, Vec3 p);

inline int vertex_count(const Body& b) {
    return static_cast<int>(b.VerticesEnd - b.Vertices);
}
inline int face_count(const Body& b) {
    return static_cast<int>(b.FacesEnd - b.Faces);
}
inline int face_ref_count(const Body& b) {
    return static_cast<int>(b.FaceRefsEnd - b.FaceRefs);
}
inline int edge_count(const Body& b) {
    return static_cast<int>(b.EdgesEnd - b.Edges);
}
// World position of a local point.
inline Vec3 body_to_world(const Body& b, Vec3 p) {
    return vec3_add(b.Position, mat3_transpose_mul_vec(p, b.Orientation));
}

} // namespace bb
