/*
 * lumetra2.h: the whole public face of the render library liblumetra2.so.
 *
 * The library holds scenes of primitives, lights, textures, volumes and views and renders
 * them by five methods. Every entry takes plain arguments: 32-bit handles and integers,
 * doubles, and a vector as three doubles (x, y, z). Every entry but NewScene and the two
 * library entries takes the scene handle first. docs/render-library.md describes the call
 * protocol in full.
 *
 * Handles: every handle is a uint32_t and 0 means none. A creating entry returns 0 when it
 * made nothing (bad handle, bad argument, no memory); the caller then skips the object, and
 * GetLastErrorMessage says why. Handles other than the scene's are valid only together with
 * the scene that made them.
 *
 * Results: entries that do not create return an int32_t result code (L2_OK or a negative
 * L2_ERROR_*); render entries may also return L2_ABORTED.
 *
 * Arrays handed to the library are copied before the entry returns, with one exception:
 * SetNameValue keeps the name pointer, which must stay valid until FreeScene.
 *
 * Threads: the entries of one scene are called from one thread at a time; different scenes
 * are independent. The callbacks' threads are described with their types below.
 *
 * Angles are in degrees. Colours are red, green, blue in 0..1.
 *
 * Versions: the header's version is LUMETRA2_VERSION_MAJOR.MINOR.PATCH; the library answers
 * its own through GetLibraryVersion. A library of the same major version and at least the
 * header's minor version has every entry the header declares.
 */
#ifndef LUMETRA2_H
#define LUMETRA2_H

#include <stdint.h>

#include "lumetra2_version.h"

/* A version as one number, a byte each for minor and patch: versions compare as numbers. */
#define LUMETRA2_MAKE_VERSION(major, minor, patch) \
  (((uint32_t)(major) << 16) | ((uint32_t)(minor) << 8) | (uint32_t)(patch))
/* The version of this header, to compare with GetLibraryVersion(). */
#define LUMETRA2_VERSION \
  LUMETRA2_MAKE_VERSION(LUMETRA2_VERSION_MAJOR, LUMETRA2_VERSION_MINOR, LUMETRA2_VERSION_PATCH)

/* The caller removes the arguments (cdecl), spelled out on i386 where conventions differ. */
#if defined(__i386__)
#define LUMETRA2_CALL __attribute__((cdecl))
#else
#define LUMETRA2_CALL
#endif

#define LUMETRA2_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Handles ------------------------------------------------------------------------- */

typedef uint32_t L2Scene;
typedef uint32_t L2Primitive; /* shapes, glyphs, CSG leaves and nodes, clones, blobs, lights */
typedef uint32_t L2Light;     /* a light is also a primitive: it takes the transform entries */
typedef uint32_t L2Texture;   /* matte, user texture or a reference to one of them */
typedef uint32_t L2Volume;
typedef uint32_t L2View;

/* What the name table files: any handle, or a pointer of the caller's own (the texture
 * code files its texture nodes here), hence pointer-sized. */
typedef uintptr_t L2NameValue;

/* ---- Result codes --------------------------------------------------------------------- */

enum {
  L2_OK = 0,
  L2_ABORTED = 1,         /* render entries: the abort or a pixel/line callback said stop */
  L2_ERROR_HANDLE = -1,   /* unknown handle, or a handle of the wrong kind or scene */
  L2_ERROR_ARGUMENT = -2, /* null pointer, count or value out of range */
  L2_ERROR_MEMORY = -3,
  L2_ERROR_STATE = -4,      /* not allowed now: the scene is rendering, or ShadePoint
                               was called outside a texture evaluation */
  L2_ERROR_UNSUPPORTED = -5 /* a setting this build cannot render yet (a glyph or
                               sweep bevel above 0) */
};

/* ---- Shading flags (fourth argument of the render entries) ----------------------------- */

enum {
  L2_SHADE_SMOOTH = 0x2,       /* interpolate vertex normals (Gouraud) */
  L2_SHADE_FLIP_NORMALS = 0x4, /* turn polygon normals towards the viewer */
  L2_SHADE_CULL_BACKFACES = 0x8,
  L2_SHADE_BACKSIDES = 0x10, /* light the back side of a surface as well */
  L2_SHADE_PHONG = 0x20,     /* with L2_SHADE_SMOOTH: per-pixel normals (Phong) */
  L2_SHADE_SHADOWS = 0x40,
  L2_SHADE_REFLECTION = 0x80,
  L2_SHADE_TRANSMISSION = 0x100,
  L2_SHADE_VOLUMES = 0x200,
  L2_SHADE_POLYGON_CSG = 0x400 /* polygon renderers resolve CSG instead of drawing leaves */
};

/* ---- Kinds for primitive arguments ----------------------------------------------------- */

enum { /* CSG operations (CreateCSG) */
       L2_CSG_UNION = 1,
       L2_CSG_INTERSECTION = 2,
       L2_CSG_DIFFERENCE = 3, /* left minus right */
       L2_CSG_MERGE = 4       /* union without the inner surfaces */
};

enum { /* outline splines of sweeps and lathes */
       L2_SPLINE_LINEAR = 1,
       L2_SPLINE_QUADRATIC = 2,
       L2_SPLINE_CUBIC = 3
};

enum {                        /* root solvers of tori and blobs */
       L2_SOLVER_DEFAULT = 0, /* the same as L2_SOLVER_FAST */
       L2_SOLVER_FAST = 1,
       L2_SOLVER_STURM = 2 /* Sturm sequences: slower, no missed roots */
};

enum {                     /* CreateSplineMesh patch kind */
       L2_PATCH_BEZIER = 0 /* 16 control points a patch, 4 by 4, row by row */
};

enum {                                 /* flags of the CreateTriBag entries */
       L2_MESH_COUNTER_CLOCKWISE = 0x1 /* faces wind counter-clockwise seen from their front */
};

/* ---- Records exchanged with user textures and volumes --------------------------------- */

/* The shading record: twenty doubles that describe the point being shaded. Textures may
 * replace point (warps) and normal (normal perturbation); everything else is read-only. */
typedef struct L2ShadingRecord {
  double point[3];            /* [0..2]   in the texture's space */
  double normal[3];           /* [3..5]   unit shading normal, world space */
  double u, v;                /* [6], [7] the surface's own coordinates */
  double world_point[3];      /* [8..10]  the point in world space, before texture transforms */
  double ray_direction[3];    /* [11..13] unit direction of the ray that hit the point */
  double geometric_normal[3]; /* [14..16] unperturbed unit normal, world space */
  double ray_distance;        /* [17]     from the ray's origin to the point */
  double depth;               /* [18]     shading depth counter, 0 for a primary ray */
  double weight;              /* [19]     contribution of this point to the pixel, 0..1 */
} L2ShadingRecord;

/* SurfaceSample flag bits */
enum {
  L2_SAMPLE_AMBIENT_COLOR = 0x1, /* ambient_color is valid */
  L2_SAMPLE_REFLECTION = 0x10,   /* reflection_color is valid */
  L2_SAMPLE_TRANSMISSION = 0x20  /* transmitted_color and transmission are valid */
};

/* What a user texture reports about a surface point. Before each evaluation the library
 * fills it with its defaults: colour (1, 1, 1, 1), ambient 0.1, diffuse 0.6, highlight
 * colour and brilliance 1, phong_size and specular_exponent 1, index of refraction 1,
 * everything else 0. Reserved fields are neither read nor written by the library.
 *
 * The finish it describes, with C the colour, N the normal, L towards a light of colour I
 * (faded, spotted, shadowed), V the view ray, R the mirrored view ray, H half way from -V to L:
 *   surface = ambient_color (or ambient C) x the scene's ambient light + emission C
 *           + sum over lights of I (diffuse C (N.L)^brilliance
 *                                  + K (phong (R.L)^phong_size + specular (N.H)^specular_exponent)),
 *   with K = highlight_color x (1 - metallic + metallic C);
 *   seen    = surface x max(0, opacity - transmission)
 *           + reflection_color x (what R sees)                 [L2_SAMPLE_REFLECTION]
 *           + ((1 - opacity) C + transmission transmitted_color) x (what the ray refracted
 *             by ior sees)                                     [L2_SHADE_TRANSMISSION].
 * transmission and transmitted_color count only with L2_SAMPLE_TRANSMISSION. Shadows pass
 * through surfaces by the same factor as the refracted ray. Without L2_SHADE_TRANSMISSION
 * every surface is opaque: seen = surface + the reflection. */
typedef struct SurfaceSample {
  float color[4];             /* 0x00 red, green, blue, opacity (1 = opaque) */
  float ambient_color[3];     /* 0x10 with L2_SAMPLE_AMBIENT_COLOR, else ambient x colour */
  float reserved_1c;          /* 0x1C */
  float ambient;              /* 0x20 */
  float reserved_24[4];       /* 0x24 */
  float emission;             /* 0x34 the colour shines by itself (1 = already lit) */
  float reserved_38[4];       /* 0x38 */
  float diffuse;              /* 0x48 */
  float highlight_color[3];   /* 0x4C tints phong and specular highlights */
  float brilliance;           /* 0x58 exponent on the diffuse cosine */
  float phong;                /* 0x5C phong highlight amount */
  float phong_size;           /* 0x60 phong exponent */
  float specular;             /* 0x64 specular highlight amount */
  float specular_exponent;    /* 0x68 reciprocal of the roughness */
  float reflection_color[3];  /* 0x6C with L2_SAMPLE_REFLECTION */
  float reserved_78;          /* 0x78 */
  float metallic;             /* 0x7C highlights take the surface colour, 0..1 */
  float transmitted_color[3]; /* 0x80 with L2_SAMPLE_TRANSMISSION */
  float reserved_8c;          /* 0x8C */
  float transmission;         /* 0x90 amount of light passed through */
  float ior;                  /* 0x94 index of refraction */
  uint32_t flags;             /* 0x98 L2_SAMPLE_* */
} SurfaceSample;              /* 156 bytes */

/* ---- Callbacks ------------------------------------------------------------------------
 * Render callbacks get the user data given to the render entry. The abort callback is
 * polled from any of the library's threads; pixel and line callbacks come from many threads
 * at once (each pixel exactly once), so all three must be safe to call concurrently; a
 * non-zero result from any of them stops the render within the tile each thread is on. */

typedef int32_t(LUMETRA2_CALL* L2AbortCallback)(void* user_data);
/* x from the left, y from the top; colour red, green, blue, alpha in 0..1 */
typedef int32_t(LUMETRA2_CALL* L2PixelCallback)(int32_t x, int32_t y, const float color[4], void* user_data);
/* both end points belong to the line; coordinates may lie outside the pixel grid */
typedef int32_t(LUMETRA2_CALL* L2LineCallback)(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                               const float color[4], void* user_data);

/* Called while shading, from many threads at once: fill the sample for the record's point. */
typedef void(LUMETRA2_CALL* L2TextureEvaluate)(L2ShadingRecord* record, SurfaceSample* sample, void* object);
/* Called once per object when its scene is freed (user textures and volumes alike). */
typedef void(LUMETRA2_CALL* L2ReleaseCallback)(void* object);
/* Called while marching through a volume, from many threads at once: density (3 floats)
 * and emission, scattering, absorption (red, green, blue and a spare fourth float that the
 * library sets to 0 and ignores). */
typedef void(LUMETRA2_CALL* L2VolumeEvaluate)(const L2ShadingRecord* record, float density[3],
                                              float emission[4], float scattering[4], float absorption[4],
                                              void* object);
/* The type of ShadePoint. */
typedef int32_t(LUMETRA2_CALL* L2ShadePointFunction)(L2Scene scene, L2View view, uint32_t shading_flags,
                                                     const L2ShadingRecord* record,
                                                     const SurfaceSample* sample, float color[4]);

/* A pixel rectangle, right and bottom exclusive. */
typedef struct L2Rect {
  int32_t left, top, right, bottom;
} L2Rect;

/* ---- Library ---------------------------------------------------------------------------- */

/* the version of the loaded library, LUMETRA2_MAKE_VERSION(major, minor, patch) */
LUMETRA2_API uint32_t LUMETRA2_CALL GetLibraryVersion(void);
/* Why the calling thread's last creating entry (NewScene, Create*) answered 0: an unknown
 * or rendering scene, an argument refused, no memory, no ray-query device. Empty after a
 * creating entry that made something. Each thread has its own message, so a failure on
 * another thread never shows here; the text stays valid until the thread's next creating
 * entry. Never null. */
LUMETRA2_API const char* LUMETRA2_CALL GetLastErrorMessage(void);

/* ---- Scene -----------------------------------------------------------------------------
 * A scene lives from NewScene to FreeScene; FreeScene releases every user texture and
 * volume through its release callback. The name table maps names to values for later
 * lookup; a name filed twice keeps the later value. */

LUMETRA2_API L2Scene LUMETRA2_CALL NewScene(void);
LUMETRA2_API int32_t LUMETRA2_CALL FreeScene(L2Scene scene);
LUMETRA2_API int32_t LUMETRA2_CALL SetNameValue(L2Scene scene, const char* name, L2NameValue value);
/* the value filed under name, or 0 */
LUMETRA2_API L2NameValue LUMETRA2_CALL GetNameValue(L2Scene scene, const char* name);
LUMETRA2_API L2Texture LUMETRA2_CALL CreateMatteTexture(L2Scene scene, double r, double g, double b);
/* the texture of every primitive that has none of its own */
LUMETRA2_API int32_t LUMETRA2_CALL SetDefaultTexture(L2Scene scene, L2Texture texture);
LUMETRA2_API int32_t LUMETRA2_CALL SetBackgroundColor(L2Scene scene, double r, double g, double b);
LUMETRA2_API int32_t LUMETRA2_CALL GetBackgroundColor(L2Scene scene, double rgb[3]);
LUMETRA2_API int32_t LUMETRA2_CALL SetAmbientLight(L2Scene scene, double r, double g, double b);
/* distance a secondary ray starts off its surface */
LUMETRA2_API int32_t LUMETRA2_CALL SetRayEpsilon(L2Scene scene, double epsilon);
LUMETRA2_API int32_t LUMETRA2_CALL SetMaxTracingDepth(L2Scene scene, int32_t depth);
/* rays whose contribution to the pixel falls below weight are not traced */
LUMETRA2_API int32_t LUMETRA2_CALL SetMinTracingWeight(L2Scene scene, double weight);

/* ---- Primitives ------------------------------------------------------------------------
 * Shapes are made in their own space and placed by the transform entries. */

LUMETRA2_API L2Primitive LUMETRA2_CALL CreateBox(L2Scene scene, double x0, double y0, double z0, double x1,
                                                 double y1, double z1);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateSphere(L2Scene scene, double cx, double cy, double cz,
                                                    double radius);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateCylinder(L2Scene scene, double bx, double by, double bz,
                                                      double ax, double ay, double az, double radius);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateCone(L2Scene scene, double bx, double by, double bz,
                                                  double base_radius, double ax, double ay, double az,
                                                  double apex_radius);
/* cylinders and cones: 1 closes both ends, 0 leaves them open */
LUMETRA2_API int32_t LUMETRA2_CALL SetConeEndcaps(L2Scene scene, L2Primitive prim, int32_t closed);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateTorus(L2Scene scene, double cx, double cy, double cz, double nx,
                                                   double ny, double nz, double major_radius,
                                                   double minor_radius);
LUMETRA2_API int32_t LUMETRA2_CALL SetTorusSolver(L2Scene scene, L2Primitive prim, int32_t solver);
/* an annulus about the centre, facing the normal; an inner radius of 0 gives a full disc */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateDisc(L2Scene scene, double cx, double cy, double cz, double nx,
                                                  double ny, double nz, double inner_radius,
                                                  double outer_radius);
/* superellipsoid in the cube -1..1: |x|^(2/e) and |y|^(2/e) blended by east_west,
 * the result and |z|^(2/n) by north_south */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateSuperQ(L2Scene scene, double east_west, double north_south);

/* Sweeps and lathes take an outline of point_count points of three doubles (x, y, w):
 * w 1 is a spline control point, w 0 a point the outline passes through. A sweep is a
 * closed outline in the x-y plane extruded along z (SetGlyphExtrusion, default 0 to 1);
 * a lathe turns an open outline, y along the axis, about the y axis. */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateSweep(L2Scene scene, int32_t spline_kind, int32_t point_count,
                                                   const double* points);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateLathe(L2Scene scene, int32_t spline_kind, int32_t point_count,
                                                   const double* points);
/* Tessellation for the polygon methods: spline meshes take grid points per patch in u and
 * v; lathes steps around the axis (u) and per outline segment (v); sweeps steps per
 * outline segment (u) and along the extrusion (v). */
LUMETRA2_API int32_t LUMETRA2_CALL SetPrimUV(L2Scene scene, L2Primitive prim, int32_t u_steps,
                                             int32_t v_steps);

/* Glyphs: closed contours of quadratic spline points, extruded like sweeps. */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateGlyph(L2Scene scene);
/* values_per_point 3: (x, y, 1 off-curve or 0 on-curve); 2: (x, y), all on-curve */
LUMETRA2_API int32_t LUMETRA2_CALL AddContour(L2Scene scene, L2Primitive glyph, int32_t values_per_point,
                                              int32_t point_count, const double* points);
/* glyphs and sweeps: 1 scales the outline with z so that it meets the z axis at z 0 */
LUMETRA2_API int32_t LUMETRA2_CALL SetGlyphConeFlag(L2Scene scene, L2Primitive prim, int32_t cone);
/* glyphs and sweeps: a chamfer of width bevel at the faces' edges (0: sharp edges); the
 * outline is extruded from z = start to z = end */
LUMETRA2_API int32_t LUMETRA2_CALL SetGlyphExtrusion(L2Scene scene, L2Primitive prim, double bevel,
                                                     double start, double end);

/* patch_kind L2_PATCH_BEZIER; points three doubles each; patches 16 point indices each */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateSplineMesh(L2Scene scene, int32_t patch_kind,
                                                        int32_t point_count, const double* points,
                                                        int32_t patch_count, const int32_t* patches);

/* Height fields: width x height samples, row by row. Sample (column i, row j) stands at
 * x = i, z = j, y = sample / 255 for 8-bit and sample / 256 for 16-bit fields. */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateHeight8(L2Scene scene, int32_t width, int32_t height,
                                                     const uint8_t* samples);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateHeight16(L2Scene scene, int32_t width, int32_t height,
                                                      const uint16_t* samples);
/* interpolates normals across the cells (plain and spherical fields) */
LUMETRA2_API int32_t LUMETRA2_CALL SmoothHeightField(L2Scene scene, L2Primitive prim);
LUMETRA2_API int32_t LUMETRA2_CALL GetHeightFieldBitDepth(L2Scene scene, L2Primitive prim, int32_t* bits);
/* number of rows */
LUMETRA2_API int32_t LUMETRA2_CALL GetHeightFieldLength(L2Scene scene, L2Primitive prim, int32_t* length);
/* number of columns */
LUMETRA2_API int32_t LUMETRA2_CALL GetHeightFieldWidth(L2Scene scene, L2Primitive prim, int32_t* width);
/* Spherical height fields: the samples raise the unit sphere's radius by the height
 * (as above); columns run along longitude, rows from the south pole to the north pole. */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateSphericalHeight8(L2Scene scene, int32_t width, int32_t height,
                                                              const uint8_t* samples);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateSphericalHeight16(L2Scene scene, int32_t width, int32_t height,
                                                               const uint16_t* samples);
/* the part of the sphere that the samples cover; default -90..90 and 0..360 */
LUMETRA2_API int32_t LUMETRA2_CALL SetSphericalHeightBounds(L2Scene scene, L2Primitive prim,
                                                            double latitude_min, double latitude_max,
                                                            double longitude_min, double longitude_max);

/* Triangle meshes: vertices, normals and texture coordinates three values each; faces,
 * normal faces and coordinate faces three indices each; flags L2_MESH_*. Normals (one per
 * vertex in CreateTriBag and CreateTriBag2F) may be null. */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateTriBag(L2Scene scene, int32_t vertex_count,
                                                    const double* vertices, const double* normals,
                                                    int32_t face_count, const int32_t* faces, int32_t flags);
/* the same with single-precision arrays */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateTriBag2F(L2Scene scene, int32_t vertex_count,
                                                      const float* vertices, const float* normals,
                                                      int32_t face_count, const int32_t* faces,
                                                      int32_t flags);
/* normals and coordinates with faces of their own; each pair may be 0, null */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateTriBag3(L2Scene scene, int32_t vertex_count,
                                                     const double* vertices, int32_t normal_count,
                                                     const double* normals, int32_t uv_count,
                                                     const double* uvs, int32_t face_count,
                                                     const int32_t* faces, const int32_t* normal_faces,
                                                     const int32_t* uv_faces, int32_t flags);
/* vertex normals averaged over faces that meet at less than angle degrees */
LUMETRA2_API int32_t LUMETRA2_CALL SmoothTriBag(L2Scene scene, L2Primitive prim, double angle);

/* a copy sharing the source's geometry, with the source's transform at the time */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateClone(L2Scene scene, L2Primitive source);

/* Blobs: an isosurface of the summed component fields at threshold; a component's field
 * is strength at its core, falling to 0 at radius (negative strength subtracts). */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateBlob(L2Scene scene);
LUMETRA2_API int32_t LUMETRA2_CALL SetBlobThreshold(L2Scene scene, L2Primitive blob, double threshold);
LUMETRA2_API int32_t LUMETRA2_CALL AddBlobSphereComponent(L2Scene scene, L2Primitive blob, double cx,
                                                          double cy, double cz, double radius,
                                                          double strength);
LUMETRA2_API int32_t LUMETRA2_CALL AddBlobCylinderComponent(L2Scene scene, L2Primitive blob, double x0,
                                                            double y0, double z0, double x1, double y1,
                                                            double z1, double radius, double strength);
LUMETRA2_API int32_t LUMETRA2_CALL SetBlobSolver(L2Scene scene, L2Primitive blob, int32_t solver);

/* CSG: a primitive becomes a leaf (one primitive may be the leaf of several nodes), and
 * leaves and nodes join into nodes (L2_CSG_*). A primitive, leaf or node that has become
 * an operand is rendered only as part of its tree. */
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateCSGPrim(L2Scene scene, L2Primitive prim);
LUMETRA2_API L2Primitive LUMETRA2_CALL CreateCSG(L2Scene scene, int32_t operation, L2Primitive left,
                                                 L2Primitive right);

/* 1 (the default) lets the primitive or light cast shadows, 0 not */
LUMETRA2_API int32_t LUMETRA2_CALL PrimCastsShadows(L2Scene scene, L2Primitive prim, int32_t casts);

/* ---- Transforms ------------------------------------------------------------------------
 * Each call appends to the object's transform: a point is moved by the calls in their
 * order. Rotations turn about x, then y, then z, right-handed. The texture twins move a
 * texture (reference) relative to the primitive that carries it. */

/* Scale factors, angles or a translation, applied to a primitive (ScalePrim, RotatePrim,
 * TranslatePrim) or to a texture reference (ScaleTexture, RotateTexture, TranslateTexture). */
typedef int32_t LUMETRA2_CALL L2TransformEntry(L2Scene scene, uint32_t primitive_or_texture, double x,
                                               double y, double z);
LUMETRA2_API L2TransformEntry ScalePrim;
LUMETRA2_API L2TransformEntry RotatePrim;
LUMETRA2_API L2TransformEntry TranslatePrim;
LUMETRA2_API L2TransformEntry ScaleTexture;
LUMETRA2_API L2TransformEntry RotateTexture;
LUMETRA2_API L2TransformEntry TranslateTexture;
/* back to the identity */
LUMETRA2_API int32_t LUMETRA2_CALL RemovePrimTransform(L2Scene scene, L2Primitive prim);
LUMETRA2_API int32_t LUMETRA2_CALL RemoveTextureTransform(L2Scene scene, L2Texture texture);
/* gives clone the current transform of source */
LUMETRA2_API int32_t LUMETRA2_CALL AlignTransforms(L2Scene scene, L2Primitive source, L2Primitive clone);
/* where the transform puts the primitive's own origin */
LUMETRA2_API int32_t LUMETRA2_CALL GetPrimLocation(L2Scene scene, L2Primitive prim, double location[3]);

/* ---- Textures --------------------------------------------------------------------------
 * A user texture is shaded by the caller's evaluate callback; the library owns object
 * from a successful CreateUserTexture on and hands it to release when the scene is freed
 * (after a failed call the caller keeps it). A reference shares a texture but has a
 * transform of its own; a primitive carries one texture, 0 detaches it. */

LUMETRA2_API L2Texture LUMETRA2_CALL CreateUserTexture(L2Scene scene, L2TextureEvaluate evaluate,
                                                       L2ReleaseCallback release, void* object);
LUMETRA2_API L2Texture LUMETRA2_CALL CreateTextureReference(L2Scene scene, L2Texture texture);
LUMETRA2_API int32_t LUMETRA2_CALL SetPrimTexture(L2Scene scene, L2Primitive prim, L2Texture texture);
LUMETRA2_API L2Texture LUMETRA2_CALL GetPrimTexture(L2Scene scene, L2Primitive prim);
/* The caller's promise that a user texture lets no light through anywhere (its samples have
 * opacity 1 and no L2_SAMPLE_TRANSMISSION): shadow rays then stop at it without calling its
 * evaluate callback. opaque 0 withdraws the promise, the state of a new texture. Matte
 * textures stop shadow rays anyway; references share their texture's promise and refuse one
 * of their own (L2_ERROR_HANDLE). */
LUMETRA2_API int32_t LUMETRA2_CALL SetTextureOpaque(L2Scene scene, L2Texture texture, int32_t opaque);
/* Whether a user texture reads the record's u and v: with reads 0 (the caller's promise that
 * it never does) the tracer leaves them 0 instead of working out the surface's coordinates
 * for every point it shades. reads 1 is the state of a new texture; references refuse a
 * promise of their own (L2_ERROR_HANDLE). */
LUMETRA2_API int32_t LUMETRA2_CALL SetTextureReadsUV(L2Scene scene, L2Texture texture, int32_t reads);
/* Lights a sample as the view would see it and writes red, green, blue and opacity to
 * color (room for four floats, always). Only valid inside an evaluate callback of the
 * same scene; otherwise L2_ERROR_STATE and color stays untouched. */
LUMETRA2_API int32_t LUMETRA2_CALL ShadePoint(L2Scene scene, L2View view, uint32_t shading_flags,
                                              const L2ShadingRecord* record, const SurfaceSample* sample,
                                              float color[4]);

/* ---- Volumes ---------------------------------------------------------------------------
 * A volume is sampled by its evaluate callback along each ray through it; ownership of
 * object as for user textures. The flags choose which outputs count: ambient (emission),
 * diffuse (scattering lit by the lights), opacity (absorption and scattering dim the ray). */

LUMETRA2_API L2Volume LUMETRA2_CALL CreateVolume(L2Scene scene, L2VolumeEvaluate evaluate,
                                                 L2ReleaseCallback release, void* object);
/* distance between samples along a ray */
LUMETRA2_API int32_t LUMETRA2_CALL SetVolumeStepResolution(L2Scene scene, L2Volume volume, double step);
LUMETRA2_API int32_t LUMETRA2_CALL SetVolumeAmbientFlag(L2Scene scene, L2Volume volume, int32_t on);
LUMETRA2_API int32_t LUMETRA2_CALL SetVolumeDiffuseFlag(L2Scene scene, L2Volume volume, int32_t on);
LUMETRA2_API int32_t LUMETRA2_CALL SetVolumeOpacityFlag(L2Scene scene, L2Volume volume, int32_t on);
/* fills the whole scene */
LUMETRA2_API int32_t LUMETRA2_CALL AddGlobalVolume(L2Scene scene, L2Volume volume);
/* fills the inside of every primitive that carries texture */
LUMETRA2_API int32_t LUMETRA2_CALL AddTextureVolume(L2Scene scene, L2Texture texture, L2Volume volume);

/* ---- Lights ----------------------------------------------------------------------------
 * Lights sit at their own origin, white, casting shadows, without fading, until set; they
 * are placed by the transform entries like primitives. */

LUMETRA2_API L2Light LUMETRA2_CALL CreateLight(L2Scene scene);
LUMETRA2_API L2Light LUMETRA2_CALL CreateSpotLight(L2Scene scene);
/* a grid of point lights over the unit square x, z in 0..1 (y = 0) */
LUMETRA2_API L2Light LUMETRA2_CALL CreateAreaLight(L2Scene scene);
LUMETRA2_API int32_t LUMETRA2_CALL SetLightLocation(L2Scene scene, L2Light light, double x, double y,
                                                    double z);
/* aims at point (x, y, z), light space; full light within radius degrees of the axis,
 * none beyond falloff degrees; tightness sharpens the beam (0: none) */
LUMETRA2_API int32_t LUMETRA2_CALL SetSpotLightCoeffs(L2Scene scene, L2Light light, double x, double y,
                                                      double z, double tightness, double radius,
                                                      double falloff);
/* columns x rows samples; adaptive depth 0 samples them all; jitter 0..1 of a cell */
LUMETRA2_API int32_t LUMETRA2_CALL SetAreaLight(L2Scene scene, L2Light light, int32_t columns, int32_t rows,
                                                int32_t adaptive, double jitter);
LUMETRA2_API int32_t LUMETRA2_CALL SetLightColor(L2Scene scene, L2Light light, double r, double g, double b);
LUMETRA2_API int32_t LUMETRA2_CALL SetLightShadowing(L2Scene scene, L2Light light, int32_t on);
/* fading: intensity / (quadratic d^2 + linear d + constant) at distance d */
LUMETRA2_API int32_t LUMETRA2_CALL SetLightCoeffs(L2Scene scene, L2Light light, double quadratic,
                                                  double linear, double constant);
/* 1: the light scatters in volumes (visible beams) */
LUMETRA2_API int32_t LUMETRA2_CALL SetLightVolumetric(L2Scene scene, L2Light light, int32_t on);
/* 1: volumes between light and point dim the light */
LUMETRA2_API int32_t LUMETRA2_CALL SetLightAttenuated(L2Scene scene, L2Light light, int32_t on);

/* ---- View ------------------------------------------------------------------------------
 * A camera at location looking at interest, up roughly up. */

LUMETRA2_API L2View LUMETRA2_CALL CreateView(L2Scene scene);
LUMETRA2_API int32_t LUMETRA2_CALL SetViewResolution(L2Scene scene, L2View view, int32_t width,
                                                     int32_t height);
/* vertical field of view */
LUMETRA2_API int32_t LUMETRA2_CALL SetViewAngle(L2Scene scene, L2View view, double angle);
/* |aspect| is the image's width / height; the sign picks the handedness: positive for a
 * left-handed world (x to the right of the image), negative for a right-handed one */
LUMETRA2_API int32_t LUMETRA2_CALL SetViewAspect(L2Scene scene, L2View view, double aspect);
LUMETRA2_API int32_t LUMETRA2_CALL SetViewLocation(L2Scene scene, L2View view, double x, double y, double z);
LUMETRA2_API int32_t LUMETRA2_CALL SetViewInterest(L2Scene scene, L2View view, double x, double y, double z);
/* an up that is null or parallel to the view direction is replaced at render time by the
 * world's z axis (y when the view looks along z) */
LUMETRA2_API int32_t LUMETRA2_CALL SetViewUp(L2Scene scene, L2View view, double x, double y, double z);
/* volume sampling of this view: step length and the steps allowed through one volume */
LUMETRA2_API int32_t LUMETRA2_CALL SetViewVolumeResolution(L2Scene scene, L2View view, double step);
LUMETRA2_API int32_t LUMETRA2_CALL SetViewVolumeSteps(L2Scene scene, L2View view, int32_t min_steps,
                                                      int32_t max_steps);
/* Scanner: transparent surfaces seen through, one behind the other */
LUMETRA2_API int32_t LUMETRA2_CALL SetViewScanlineDepth(L2Scene scene, L2View view, int32_t depth);

/* ---- Rendering -------------------------------------------------------------------------
 * Each render entry blocks until the image is done (L2_OK) or stopped (L2_ABORTED), and
 * calls no callback after it returns. region limits it to a rectangle of the pixel grid;
 * null renders the whole grid. Methods: Outline draws every edge as lines, hidden ones and
 * the triangles of meshes included, HiddenLine only the visible edges, Render by z-buffer,
 * Scanner by scan lines with transparency, Tracer and AATracer by ray tracing, AATracer with
 * adaptive anti-aliasing. */

/* AATracer subdivides a pixel depth times at most where neighbours differ by threshold */
LUMETRA2_API int32_t LUMETRA2_CALL SetAliasDepth(L2Scene scene, int32_t depth);
LUMETRA2_API int32_t LUMETRA2_CALL SetAliasThreshold(L2Scene scene, double threshold);

LUMETRA2_API int32_t LUMETRA2_CALL Outline(L2Scene scene, L2View view, const L2Rect* region,
                                           uint32_t shading_flags, L2AbortCallback abort_callback,
                                           L2LineCallback line_callback, void* user_data);

/* The five pixel methods share one signature. */
typedef int32_t LUMETRA2_CALL L2RenderEntry(L2Scene scene, L2View view, const L2Rect* region,
                                            uint32_t shading_flags, L2AbortCallback abort_callback,
                                            L2PixelCallback pixel_callback, void* user_data);
LUMETRA2_API L2RenderEntry HiddenLine;
LUMETRA2_API L2RenderEntry Render;
LUMETRA2_API L2RenderEntry Scanner;
LUMETRA2_API L2RenderEntry Tracer;
LUMETRA2_API L2RenderEntry AATracer;

/* ---- Animation updates -----------------------------------------------------------------
 * In-place changes between frames. UpdatePrim rebuilds what the library derives from a
 * primitive (bounds, tessellation) at once; the render entries do the same for every
 * primitive changed since the last render. */

LUMETRA2_API int32_t LUMETRA2_CALL UpdatePrim(L2Scene scene, L2Primitive prim);
LUMETRA2_API int32_t LUMETRA2_CALL SetConeRadii(L2Scene scene, L2Primitive prim, double base_radius,
                                                double apex_radius);
LUMETRA2_API int32_t LUMETRA2_CALL SetTorusRadii(L2Scene scene, L2Primitive prim, double major_radius,
                                                 double minor_radius);
LUMETRA2_API int32_t LUMETRA2_CALL SetDiscRadii(L2Scene scene, L2Primitive prim, double inner_radius,
                                                double outer_radius);
LUMETRA2_API int32_t LUMETRA2_CALL SetSuperQPowers(L2Scene scene, L2Primitive prim, double east_west,
                                                   double north_south);
/* outlines as for CreateSweep and CreateLathe; the point count may change */
LUMETRA2_API int32_t LUMETRA2_CALL ModifySweepVertices(L2Scene scene, L2Primitive prim, int32_t spline_kind,
                                                       int32_t point_count, const double* points);
LUMETRA2_API int32_t LUMETRA2_CALL ModifyLatheVertices(L2Scene scene, L2Primitive prim, int32_t spline_kind,
                                                       int32_t point_count, const double* points);
/* point_count must equal the mesh's */
LUMETRA2_API int32_t LUMETRA2_CALL ModifySplineMeshVertices(L2Scene scene, L2Primitive prim,
                                                            int32_t point_count, const double* points);

#ifdef __cplusplus
}
#endif

#endif /* LUMETRA2_H */
