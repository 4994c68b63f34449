// SPDX-License-Identifier: GPL-3.0-or-later
/* still: lists the cameras libOptigrab finds, plugs a simulated one, opens it and saves a still.
 * Build against an installed libOptigrab either way:
 *     cc still.c $(pkg-config --cflags --libs optigrab) -o still
 *     cmake -S . -B build && cmake --build build       (find_package(Optigrab))
 * Usage: still FILE.jpg */
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "optigrab.h"
#include "optigrab_sim.h"

static int fail(const char* what, long code) {
    fprintf(stderr, "%s: %s\n", what, camErrorText(code));
    return EXIT_FAILURE;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FILE.jpg\n", argv[0]);
        return EXIT_FAILURE;
    }
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    if (optigrabSimPlug(&config) < 0) {
        fprintf(stderr, "no simulated camera\n");
        return EXIT_FAILURE;
    }
    long code = camInitCameraLib();
    if (code != CAM_OK)
        return fail("init", code);

    long count = 0;
    if ((code = camGetDevCount(&count)) != CAM_OK)
        return fail("count", code);
    for (long i = 0; i < count; ++i) {
        char name[512] = {0}, vid[10] = {0}, pid[10] = {0};
        camGetDevName(i, name);
        camGetDevVid(i, vid);
        camGetDevPid(i, pid);
        printf("camera %ld: %s (%s:%s)\n", i, name, vid, pid);
    }

    /* Simulated cameras follow the real ones: the last one is ours. Its first mode at its first size. */
    const long camera = count - 1;
    long type = 0, width = 0, height = 0;
    if ((code = camGetMediaType(camera, 0, &type)) != CAM_OK ||
        (code = camGetResolution(camera, type, 0, &width, &height)) != CAM_OK)
        return fail("modes", code);
    if ((code = camOpenDev(camera, type, width, height, 0)) != CAM_OK)
        return fail("open", code);
    /* A still needs a first frame: the library answers "no frame yet" until one has come. */
    for (int attempt = 0; attempt < 100; ++attempt) {
        code = camCaptureImageFile(camera, argv[1]);
        if (code != CAM_ERR_NO_FRAME)
            break;
        usleep(50 * 1000);
    }
    camCloseDev(camera);
    camUnInitCameraLib();
    if (code != CAM_OK)
        return fail("still", code);
    printf("still of %ldx%ld saved to %s\n", width, height, argv[1]);
    return EXIT_SUCCESS;
}
