// SPDX-License-Identifier: GPL-3.0-or-later
/* A C program that knows the camera library only through optigrab.h: two simulated cameras from the
 * environment are found, one is opened, frames arrive and a still picture is written. */
#include <stdatomic.h>
#include <stdbool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "optigrab.h"

static atomic_long framesSeen;
static atomic_long badFrames;

static bool onFrame(unsigned char* rgb, long width, long height, long size, void* param) {
    const PreviewParam* preview = (const PreviewParam*)param;
    if (rgb == NULL || size != 3 * width * height || preview == NULL || preview->devIndex != 1)
        badFrames++;
    framesSeen++;
    return true;
}

static int failures;
#define CHECK(condition)                                                            \
    do {                                                                            \
        if (!(condition)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            failures++;                                                             \
        }                                                                           \
    } while (0)

int main(void) {
    CHECK(camInitCameraLib() == CAM_OK);
    long count = 0;
    CHECK(camGetDevCount(&count) == CAM_OK);
    CHECK(count == 2);

    char name[512] = {0};
    char vendor[10] = {0};
    CHECK(camGetDevName(1, name) == CAM_OK && strlen(name) > 0);
    CHECK(camGetDevVid(1, vendor) == CAM_OK && strlen(vendor) == 4);
    long type = 0;
    CHECK(camGetMediaType(1, 0, &type) == CAM_OK && type == 2);

    CHECK(camRegCallBackPreviewImage(1, onFrame) == CAM_OK);
    CHECK(camOpenDev(1, 2, 1280, 720, 0) == CAM_OK);
    for (int i = 0; i < 600 && framesSeen < 5; ++i)
        usleep(50 * 1000);
    CHECK(framesSeen >= 5);
    CHECK(badFrames == 0);

    char folder[] = "/tmp/optigrab-c-XXXXXX";
    CHECK(mkdtemp(folder) != NULL);
    char path[256];
    snprintf(path, sizeof path, "%s/still.jpg", folder);
    CHECK(camCaptureImageFile(1, path) == CAM_OK);
    FILE* still = fopen(path, "rb");
    unsigned char head[3] = {0};
    CHECK(still != NULL && fread(head, 1, 3, still) == 3);
    CHECK(head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF);
    if (still)
        fclose(still);
    remove(path);
    rmdir(folder);

    CHECK(camCloseDev(1) == CAM_OK);
    const long afterClose = framesSeen;
    usleep(200 * 1000);
    CHECK(framesSeen == afterClose);
    CHECK(camUnInitCameraLib() == CAM_OK);

    printf("%s\n", failures == 0 ? "C interface: all checks passed" : "C interface: checks failed");
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
