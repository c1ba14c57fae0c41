/*
 * A program from outside the project, built against an installed lumetra2.h and
 * liblumetra2.so (scripts/package-test.sh builds it through find_package(lumetra2) and
 * through pkg-config): it checks that the library it loaded fits the header, makes a scene
 * with a sphere, has a bad sphere refused with a reason, and frees the scene. It prints the
 * library's version; on a failure it says what failed and exits with 1.
 */
#include <stdio.h>

#include <lumetra2.h>

static int fail(const char* what) {
  fprintf(stderr, "consumer: %s: %s\n", what, GetLastErrorMessage());
  return 1;
}

int main(void) {
  const uint32_t version = GetLibraryVersion();
  L2Scene scene;
  printf("lumetra2 %u.%u.%u\n", (unsigned)(version >> 16), (unsigned)(version >> 8 & 0xFF),
         (unsigned)(version & 0xFF));
  if (version >> 16 != LUMETRA2_VERSION_MAJOR || version < LUMETRA2_VERSION)
    return fail("the library does not have the header's entries");
  scene = NewScene();
  if (scene == 0) return fail("NewScene");
  if (CreateSphere(scene, 0, 0, 0, 1) == 0) return fail("CreateSphere");
  if (CreateSphere(scene, 0, 0, 0, -1) != 0 || GetLastErrorMessage()[0] == '\0')
    return fail("a sphere of radius -1 was not refused with a reason");
  if (FreeScene(scene) != L2_OK) return fail("FreeScene");
  return 0;
}
