// SPDX-License-Identifier: GPL-3.0-or-later
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
 *     plug NAME VID PID [QUIRK...]
 *                               a default camera with that name and ids (NAME without blanks) and
 *                               the options named: the quirks stray-bytes, no-huffman, padded-lines,
 *                               other-size, stepwise-rates, garbage-start, no-access, no-controls,
 *                               controls-fail, no-focus-start
 *                               (OPTIGRAB_SIM_QUIRK_*);
 *                               bandwidth=BYTES (usbBandwidth); serial=TEXT (serial);
 *                               ir-only, h264-only, yuy2-only (the
 *                               camera's only mode: greyscale 640x360, H.264 1920x1080, YUY2 640x480);
 *                               ir-node, h264-node (a second capture node with that mode)
 *     plug-frames DIR           a camera playing the JPEG files of folder DIR (the rest of the line,
 *                               blanks allowed) at 30 fps, as optigrabSimPlugFrames
 *     unplug ID                 unplug the simulated camera with that id
 *     replug ID DELAY_MS        as optigrabSimReplug with a default camera
 *     fault ID KIND COUNT       as optigrabSimInjectFault, KIND one of corrupt, truncated, error, stall,
 *                               empty, usb-stall, queue-error,
 *                               transient
 *     busy ID 1|0               as optigrabSimSetBusy
 *     grant ID                  as optigrabSimGrantAccess
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

/* One mode: media type code (1 YUY2, 2 MJPG, 3 NV12; 4 greyscale and 5 H.264, which the library does
 * not decode, for infrared and compressed-only nodes), size, frame rates highest first. An H.264 node
 * streams failed buffers (the simulator has no H.264 encoder). */
typedef struct OptigrabSimMode {
    long mediaType;
    long width;
    long height;
    long fps[4]; /* 0 ends the list early */
} OptigrabSimMode;

typedef struct OptigrabSimConfig {
    const char* name;             /* card name; NULL = "Simulated Document Camera" */
    const char* vendorId;         /* four hex digits; NULL = a fixed default */
    const char* productId;        /* four hex digits; NULL = a fixed default */
    const char* serial;           /* NULL = derived from the id */
    const OptigrabSimMode* modes; /* NULL = the default document-camera modes */
    int modeCount;
    double frameClock; /* frames per second the camera actually delivers; 0 = the mode's rate,
                          negative = unthrottled (a frame whenever a buffer is queued) */
    unsigned quirks;   /* OPTIGRAB_SIM_QUIRK_* flags: what real cameras do; 0 = none */
    long usbBandwidth; /* bytes per second the USB bus grants the camera; 0 = unlimited. STREAMON
                          answers ENOSPC when the mode needs more: 2 bytes a pixel for YUY2, 1.5 for
                          NV12, 0.25 for MJPEG, times the frame rate */
    const OptigrabSimMode* secondNodeModes; /* a second capture node of the same device, as an
                                               infrared or H.264 node; NULL = none. It takes the id
                                               after the camera's and is unplugged with it */
    int secondNodeModeCount;
} OptigrabSimConfig;

/* Behaviours of real UVC cameras a simulated camera can be given (quirks, or-ed together). */
enum OptigrabSimQuirk {
    OPTIGRAB_SIM_QUIRK_STRAY_BYTES = 1 << 0,    /* MJPEG frames carry stray bytes before two markers:
                                                   they decode with a harmless decoder warning */
    OPTIGRAB_SIM_QUIRK_NO_HUFFMAN = 1 << 1,     /* MJPEG frames without Huffman tables (DHT) */
    OPTIGRAB_SIM_QUIRK_PADDED_LINES = 1 << 2,   /* YUY2, NV12 and GREY lines longer than the width needs
                                                   (bytesperline), the padding zero */
    OPTIGRAB_SIM_QUIRK_OTHER_SIZE = 1 << 3,     /* S_FMT settles on the next smaller size of the format
                                                   than the one asked, when there is one */
    OPTIGRAB_SIM_QUIRK_STEPWISE_RATES = 1 << 4, /* frame intervals as one step-wise range from the
                                                   fastest to the slowest rate, in steps of the shortest
                                                   interval; S_PARM rounds to a step */
    OPTIGRAB_SIM_QUIRK_GARBAGE_START = 1 << 5,  /* the first two uncompressed frames after STREAMON are
                                                   all zero */
    OPTIGRAB_SIM_QUIRK_NO_ACCESS = 1 << 6,      /* opening the nodes answers EACCES until
                                                   optigrabSimGrantAccess */
    OPTIGRAB_SIM_QUIRK_NO_CONTROLS = 1 << 7,    /* the camera has no controls (brightness, focus ...) */
    OPTIGRAB_SIM_QUIRK_CONTROLS_FAIL = 1 << 8,  /* VIDIOC_S_EXT_CTRLS answers EIO */
    OPTIGRAB_SIM_QUIRK_NO_FOCUS_START = 1 << 9  /* focus automatic and absolute, but no one-shot focus
                                                   button (V4L2_CID_AUTO_FOCUS_START) */
};

enum OptigrabSimFault {
    OPTIGRAB_SIM_FAULT_CORRUPT = 1,     /* MJPEG data damaged in the middle, markers intact */
    OPTIGRAB_SIM_FAULT_TRUNCATED = 2,   /* frame cut short: no end-of-image marker */
    OPTIGRAB_SIM_FAULT_ERROR = 3,       /* buffer returned with V4L2_BUF_FLAG_ERROR */
    OPTIGRAB_SIM_FAULT_STALL = 4,       /* the camera stops delivering frames (COUNT ignored; until unplug) */
    OPTIGRAB_SIM_FAULT_EMPTY = 5,       /* buffer returned without error but with no bytes in it */
    OPTIGRAB_SIM_FAULT_USB_STALL = 6,   /* no frames after a burst of USB errors, the node stays: the
                                           COUNT-th STREAMON from now ends the stall */
    OPTIGRAB_SIM_FAULT_QUEUE_ERROR = 7, /* the buffer queue fails: poll answers POLLERR and DQBUF EIO
                                           until STREAMOFF; the error is back after each of the next
                                           COUNT-1 STREAMONs */
    OPTIGRAB_SIM_FAULT_TRANSIENT = 8    /* the next COUNT S_FMT and STREAMON calls answer EIO, as
                                           format negotiation often does just after plug-in */
};

/* Default configuration: fill a config before changing a few fields. */
void optigrabSimDefaultConfig(OptigrabSimConfig* config);

/* Plugs a camera; returns its id (>= 0), or -1 when config is invalid. NULL = defaults. */
int optigrabSimPlug(const OptigrabSimConfig* config);

/* Plugs a camera that plays recorded frames: the JPEG files (*.jpg, *.jpeg) of folder in name order,
 * looping, from the first one at every STREAMON, at fps frames per second (0 = 30). Its one mode is
 * MJPG at the size of the first file; a file of another size or a broken one is delivered as it is,
 * as a real camera would. The files are read now. Returns the camera's id, or -1 when the folder holds
 * no JPEG file or the first one has no readable size (with a line on standard error). */
int optigrabSimPlugFrames(const char* folder, long fps);

/* Unplugs camera id and plugs a camera made from config (NULL = defaults) at the same node paths, as
 * the kernel reuses /dev/videoN numbers. The old camera's removal events come removalDelayMs (at
 * most 60000) after the new camera's plug events, as udev events may arrive late. Returns the new
 * camera's id, or -1 for an unknown id, a camera with a second node or an invalid config. */
int optigrabSimReplug(int id, const OptigrabSimConfig* config, int removalDelayMs);

/* Unplugs a camera: an open node answers ENODEV from then on. Returns 0, or -1 for an unknown id. */
int optigrabSimUnplug(int id);

/* Unplugs every simulated camera. */
void optigrabSimUnplugAll(void);

/* Waits until the library has handled every hot-plug event raised so far (by simulated cameras, and by
 * streams the library gave up), each device-change callback for them having returned; a late removal
 * still pending from optigrabSimReplug is waited for. Returns 0, or -1 when timeoutMs passed first.
 * Not for library callbacks, whose threads it may be waiting for (-1, at the latest after
 * timeoutMs). Tests use it to know that what they did has had all its effects, and that an earlier
 * test's events are over. */
int optigrabSimSettle(int timeoutMs);

/* Number of simulated cameras plugged in now. */
int optigrabSimCount(void);

/* Number of streams set up (buffers requested) on simulated capture nodes that are still open, an
 * unplugged camera's included: a program that closes every camera it stops showing comes back to the
 * number it shows. Tests use it to find cameras left streaming. */
int optigrabSimOpenStreams(void);

/* The next COUNT frames of camera id carry the fault. Returns 0, or -1 for an unknown id or kind. */
int optigrabSimInjectFault(int id, int kind, int count);

/* Frames camera id has delivered since it was plugged (across openings). -1 for an unknown id. */
long optigrabSimFramesDelivered(int id);

/* Lets the user open camera id's nodes (a camera plugged with OPTIGRAB_SIM_QUIRK_NO_ACCESS), as a
 * permission change does, with a "change" hot-plug event for each node. -1 for an unknown id. */
int optigrabSimGrantAccess(int id);

/* Makes camera id busy as if another program held it: streaming setup answers EBUSY. */
int optigrabSimSetBusy(int id, int busy);

#ifdef __cplusplus
}
#endif

#endif /* OPTIGRAB_SIM_H */
