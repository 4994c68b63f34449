/* optigrab_sim.h: control of the simulated document cameras of libOptigrab.so, for tests and demos.
 *
 * A simulated camera sits below the library's V4L2 code: it answers open, ioctl, mmap and poll like a
 * UVC camera, so everything above it runs exactly as for a real camera. Simulated cameras follow all
 * real ones in the device list. They may be plugged before or after camInitCameraLib; while the
 * library is initialised, plugging and unplugging raise the device-change callback like a real
 * camera.
 *
 * The environment variable OPTIGRAB_SIMULATED_CAMERAS=N plugs N default cameras when the library
 * first starts. When OPTIGRAB_SIMULATED_CONTROL names a path, the library makes a FIFO there while it
 * is initialised and takes one command a line:
 *     plug                      a default camera
 *     plug NAME VID PID         a default camera with that name and ids (NAME without blanks)
 *     unplug ID                 unplug the simulated camera with that id
 *     fault ID KIND COUNT       as optigrabSimInjectFault, KIND one of corrupt, truncated, error, stall
 *     busy ID 1|0               as optigrabSimSetBusy
 * Lines that are not understood are reported on stderr and ignored.
 *
 * Like a UVC camera, each simulated camera has two nodes, /dev/optigrab-sim/videoID (capture) and
 * /dev/optigrab-sim/metaID (metadata only: its device_caps lack V4L2_CAP_VIDEO_CAPTURE); plugging and
 * unplugging raise a hot-plug event for each.
 *
 * All functions are thread-safe. Ids are handed out from 0 in plug order and never reused.
 */
#ifndef OPTIGRAB_SIM_H
#define OPTIGRAB_SIM_H

#ifdef __cplusplus
extern "C" {
#endif

/* One mode: media type code (1 YUY2, 2 MJPG, 3 NV12), size, frame rates highest first. Code 4 is an
 * H.264 stream, which the library cannot turn into RGB and does not list: a camera with only such
 * modes is listed without media types, like a second capture node of some real cameras. */
typedef struct OptigrabSimMode {
    long mediaType;
    long width;
    long height;
    long fps[4]; /* 0 ends the list early */
} OptigrabSimMode;

typedef struct OptigrabSimConfig {
    const char* name;      /* card name; NULL = "Simulated Document Camera" */
    const char* vendorId;  /* four hex digits; NULL = a fixed default */
    const char* productId; /* four hex digits; NULL = a fixed default */
    const char* serial;    /* NULL = derived from the id */
    const OptigrabSimMode* modes; /* NULL = the default document-camera modes */
    int modeCount;
    double frameClock; /* frames per second the camera actually delivers; 0 = the mode's rate,
                          negative = unthrottled (a frame whenever a buffer is queued) */
} OptigrabSimConfig;

enum OptigrabSimFault {
    OPTIGRAB_SIM_FAULT_CORRUPT = 1,   /* MJPEG data damaged in the middle, markers intact */
    OPTIGRAB_SIM_FAULT_TRUNCATED = 2, /* frame cut short: no end-of-image marker */
    OPTIGRAB_SIM_FAULT_ERROR = 3,     /* buffer returned with V4L2_BUF_FLAG_ERROR */
    OPTIGRAB_SIM_FAULT_STALL = 4      /* the camera stops delivering frames (COUNT ignored; until unplug) */
};

/* Default configuration: fill a config before changing a few fields. */
void optigrabSimDefaultConfig(OptigrabSimConfig* config);

/* Plugs a camera; returns its id (>= 0), or -1 when config is invalid. NULL = defaults. */
int optigrabSimPlug(const OptigrabSimConfig* config);

/* Unplugs a camera: an open node answers ENODEV from then on. Returns 0, or -1 for an unknown id. */
int optigrabSimUnplug(int id);

/* Unplugs every simulated camera. */
void optigrabSimUnplugAll(void);

/* Number of simulated cameras plugged in now. */
int optigrabSimCount(void);

/* The next COUNT frames of camera id carry the fault. Returns 0, or -1 for an unknown id or kind. */
int optigrabSimInjectFault(int id, int kind, int count);

/* Frames camera id has delivered since it was plugged (across openings). -1 for an unknown id. */
long optigrabSimFramesDelivered(int id);

/* Makes camera id busy as if another program held it: streaming setup answers EBUSY. */
int optigrabSimSetBusy(int id, int busy);

#ifdef __cplusplus
}
#endif

#endif /* OPTIGRAB_SIM_H */
