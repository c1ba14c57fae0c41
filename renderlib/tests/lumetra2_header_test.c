/*
 * Compiles a translation of a small scene against lumetra2.h and checks the record layouts.
 * Built as C99 here and as C++20 by lumetra2_header_test.cpp; it is never linked or run,
 * so a header that no longer fits its callers breaks the build.
 */
#include <stddef.h>

#include "lumetra2.h"

#define L2_CHECK(name, condition) typedef char name[(condition) ? 1 : -1]

/* The version macros work in #if, and minor and patch fit their byte of the one number. */
#if LUMETRA2_VERSION_MAJOR < 0 || LUMETRA2_VERSION_MINOR < 0 || LUMETRA2_VERSION_MINOR > 255 || \
    LUMETRA2_VERSION_PATCH < 0 || LUMETRA2_VERSION_PATCH > 255
#error "the version does not fit LUMETRA2_MAKE_VERSION"
#endif

L2_CHECK(handles_are_32_bit, sizeof(L2Scene) == 4 && sizeof(L2Primitive) == 4 && sizeof(L2Texture) == 4 &&
                                 sizeof(L2Volume) == 4 && sizeof(L2View) == 4 && sizeof(L2Light) == 4);
L2_CHECK(name_values_hold_pointers, sizeof(L2NameValue) >= sizeof(void*));

L2_CHECK(shading_record_is_twenty_doubles,
         sizeof(L2ShadingRecord) == 20 * sizeof(double) &&
             sizeof(((L2ShadingRecord*)0)->u) == sizeof(double) &&
             sizeof(((L2ShadingRecord*)0)->v) == sizeof(double) &&
             sizeof(((L2ShadingRecord*)0)->ray_distance) == sizeof(double) &&
             sizeof(((L2ShadingRecord*)0)->depth) == sizeof(double) &&
             sizeof(((L2ShadingRecord*)0)->weight) == sizeof(double));
L2_CHECK(shading_record_uv, offsetof(L2ShadingRecord, u) == 6 * sizeof(double) &&
                                offsetof(L2ShadingRecord, v) == 7 * sizeof(double));
L2_CHECK(shading_record_depth_and_weight, offsetof(L2ShadingRecord, depth) == 18 * sizeof(double) &&
                                              offsetof(L2ShadingRecord, weight) == 19 * sizeof(double));

L2_CHECK(sample_size, sizeof(SurfaceSample) == 0x9C);
L2_CHECK(sample_lighting_offsets,
         offsetof(SurfaceSample, ambient_color) == 0x10 && offsetof(SurfaceSample, ambient) == 0x20 &&
             offsetof(SurfaceSample, emission) == 0x34 && offsetof(SurfaceSample, diffuse) == 0x48 &&
             offsetof(SurfaceSample, highlight_color) == 0x4C);
L2_CHECK(sample_finish_offsets,
         offsetof(SurfaceSample, phong) == 0x5C && offsetof(SurfaceSample, phong_size) == 0x60 &&
             offsetof(SurfaceSample, specular) == 0x64 &&
             offsetof(SurfaceSample, specular_exponent) == 0x68 &&
             offsetof(SurfaceSample, reflection_color) == 0x6C && offsetof(SurfaceSample, metallic) == 0x7C);
L2_CHECK(sample_transmission_offsets, offsetof(SurfaceSample, transmitted_color) == 0x80 &&
                                          offsetof(SurfaceSample, transmission) == 0x90 &&
                                          offsetof(SurfaceSample, ior) == 0x94 &&
                                          offsetof(SurfaceSample, flags) == 0x98);
L2_CHECK(sample_flag_bits,
         L2_SAMPLE_AMBIENT_COLOR == 1 && L2_SAMPLE_REFLECTION == 16 && L2_SAMPLE_TRANSMISSION == 32);

/* The flag words the render settings store by default must keep their meaning. */
L2_CHECK(tracing_default_flags, (L2_SHADE_SMOOTH | L2_SHADE_FLIP_NORMALS | L2_SHADE_SHADOWS |
                                 L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION) == 454);
L2_CHECK(polygon_default_flags, (L2_SHADE_SMOOTH | L2_SHADE_FLIP_NORMALS | L2_SHADE_CULL_BACKFACES) == 14);

typedef struct Job {
  int32_t abort_flag;
  L2ShadePointFunction shade_point;
  L2Scene scene;
  L2View view;
  uint32_t shading_flags;
  const char* failure; /* why the scene could not be made */
} Job;

static int32_t LUMETRA2_CALL job_aborted(void* user_data) { return ((const Job*)user_data)->abort_flag; }

static int32_t LUMETRA2_CALL put_pixel(int32_t x, int32_t y, const float color[4], void* user_data) {
  (void)x;
  (void)y;
  (void)color;
  return job_aborted(user_data);
}

static int32_t LUMETRA2_CALL draw_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const float color[4],
                                       void* user_data) {
  (void)x0;
  (void)y0;
  (void)x1;
  (void)y1;
  (void)color;
  return job_aborted(user_data);
}

static void LUMETRA2_CALL shade_lit(L2ShadingRecord* record, SurfaceSample* sample, void* object) {
  const Job* job = (const Job*)object;
  float lit[4] = {0, 0, 0, 1};
  record->depth += 1;
  if (job->shade_point(job->scene, job->view, job->shading_flags & ~(uint32_t)L2_SHADE_TRANSMISSION, record,
                       sample, lit) == L2_OK) {
    sample->color[0] = lit[0];
    sample->emission = 1.0f;
  }
}

static void LUMETRA2_CALL release_nothing(void* object) { (void)object; }

static void LUMETRA2_CALL sample_fog(const L2ShadingRecord* record, float density[3], float emission[4],
                                     float scattering[4], float absorption[4], void* object) {
  (void)record;
  (void)object;
  density[0] = density[1] = density[2] = 1.0f;
  emission[0] = scattering[0] = absorption[0] = 0.5f;
}

/* A union of a sphere and a textured cone in fog, one animation update and both kinds of
 * render call; every result is checked as a caller must. */
int32_t translate_and_render(Job* job) {
  static const char sphere_name[] = "Ball";
  const double outline[] = {0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0};
  L2Primitive sphere, cone, both;
  L2Texture texture;
  L2Volume fog;
  int32_t result;

  /* the loaded library has every entry of this header */
  if (GetLibraryVersion() >> 16 != LUMETRA2_VERSION_MAJOR || GetLibraryVersion() < LUMETRA2_VERSION)
    return L2_ERROR_UNSUPPORTED;
  job->shade_point = ShadePoint;
  job->scene = NewScene();
  if (job->scene == 0) {
    job->failure = GetLastErrorMessage();
    return L2_ERROR_MEMORY;
  }
  job->view = CreateView(job->scene);
  sphere = CreateSphere(job->scene, 0, 0, 0, 1);
  cone = CreateCone(job->scene, 0, 0, 0, 1.0, 0, 0, 1, 0.5);
  texture = CreateUserTexture(job->scene, shade_lit, release_nothing, job);
  fog = CreateVolume(job->scene, sample_fog, release_nothing, job);
  if (job->view == 0 || sphere == 0 || cone == 0 || texture == 0 || fog == 0 ||
      CreateSweep(job->scene, L2_SPLINE_LINEAR, 4, outline) == 0)
    return L2_ERROR_MEMORY;
  result = SetNameValue(job->scene, sphere_name, sphere);
  if (result == L2_OK) result = AddTextureVolume(job->scene, texture, fog);
  if (result == L2_OK) result = SetPrimTexture(job->scene, cone, CreateTextureReference(job->scene, texture));
  if (result == L2_OK) result = RotatePrim(job->scene, cone, -10, -20, -30);
  both =
      CreateCSG(job->scene, L2_CSG_UNION, CreateCSGPrim(job->scene, sphere), CreateCSGPrim(job->scene, cone));
  if (result == L2_OK && both == 0) result = L2_ERROR_MEMORY;
  if (result == L2_OK) result = SetConeRadii(job->scene, cone, 2.0, 0.25);
  if (result == L2_OK) result = SetViewResolution(job->scene, job->view, 320, 240);
  if (result == L2_OK)
    result = Outline(job->scene, job->view, NULL, job->shading_flags, job_aborted, draw_line, job);
  if (result >= L2_OK)
    result = Tracer(job->scene, job->view, NULL, job->shading_flags, job_aborted, put_pixel, job);
  if (FreeScene(job->scene) != L2_OK && result >= L2_OK) result = L2_ERROR_HANDLE;
  return result;
}
