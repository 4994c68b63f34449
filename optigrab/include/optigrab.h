// SPDX-License-Identifier: GPL-3.0-or-later
/* optigrab.h: the public C interface of libOptigrab.so, the document-camera capture library.
 *
 * Conventions that hold for every function below:
 *   - Results: 0 (CAM_OK) is success; any other result is a positive code of CamResult, described by
 *     camErrorText. Out-arguments are only written on success unless the function says otherwise.
 *   - camInitCameraLib must precede every other call; before it (and after camUnInitCameraLib) every
 *     function returns CAM_ERR_NOT_INITIALISED.
 *   - Device index: the position of a camera in the list built by the last rescan (camGetDevCount, or
 *     camInitCameraLib). Indices keep referring to that list until the next rescan. A camera that
 *     was unplugged since then answers CAM_ERR_DEVICE_GONE; an index outside the list answers
 *     CAM_ERR_BAD_INDEX.
 *   - Media-type codes: 1 = YUY2, 2 = MJPG, 3 = NV12. A device lists them in the order MJPG, YUY2,
 *     NV12, only those it offers. Resolutions are listed largest first, frame rates highest first.
 *   - Text outputs are NUL-terminated UTF-8, written into caller buffers of the documented size
 *     (terminator included) and cut only on a character boundary.
 *   - All functions are thread-safe. The library calls its callbacks on threads of its own: frame
 *     callbacks on the device's capture thread, device-change callbacks on the library's event
 *     thread. From inside a callback, the functions that open, close, rescan or shut down answer
 *     CAM_ERR_BUSY instead of waiting for the very thread that runs the callback.
 */
#ifndef OPTIGRAB_H
#define OPTIGRAB_H

#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(OPTIGRAB_BUILDING)
#define OPTIGRAB_API __attribute__((visibility("default")))
#else
#define OPTIGRAB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. */
typedef enum CamResult {
    CAM_OK = 0,
    CAM_ERR_NOT_INITIALISED = 1, /* camInitCameraLib was not called, or camUnInitCameraLib was */
    CAM_ERR_BAD_INDEX = 2,       /* device, media-type, resolution or rate index outside its list */
    CAM_ERR_BAD_ARGUMENT = 3,    /* NULL pointer, value out of range, unknown media-type code */
    CAM_ERR_NOT_SUPPORTED = 4,   /* the library cannot do this for this device */
    CAM_ERR_BUSY = 5,            /* the device is held by another program, or the call would wait for
                                    the callback thread it was made from */
    CAM_ERR_DEVICE_GONE = 6,     /* the camera was unplugged; rescan with camGetDevCount */
    CAM_ERR_NOT_OPEN = 7,        /* the device is not open (camOpenDev) */
    CAM_ERR_IO = 8,              /* the device failed a system call */
    CAM_ERR_NO_FRAME = 9,        /* the device has not delivered a good frame yet */
    CAM_ERR_FILE = 10,           /* the file or its folder cannot be written */
    CAM_ERR_NO_MEMORY = 11,      /* out of memory */
    CAM_ERR_INACTIVE = 12,       /* the camera control is inactive (another control is in charge of it,
                                    as exposure time while exposure is automatic) or read-only */
    CAM_ERR_NO_PAGE = 13,        /* page cropping is on but no page was found: the still was written
                                    whole, uncropped */
    CAM_ERR_NO_SOUND = 14        /* no sound input could be opened: the recording runs without sound */
} CamResult;

/* A short English text for a result code, for logs; never NULL. */
OPTIGRAB_API const char* camErrorText(long code);

/* Kind of hot-plug change reported through callBackDevChange: an unsigned 32-bit value (C compilers
 * give an enum whose values are all non-negative the type unsigned int). */
#ifdef __cplusplus
typedef enum USBDEVICECHANGETYPE : unsigned int {
#else
typedef enum USBDEVICECHANGETYPE {
#endif
    USB_DEVICE_CHANGE_NONE = 0u,
    USB_DEVICE_CHANGE_ADD = 1u,   /* a camera was plugged in */
    USB_DEVICE_CHANGE_REMOVE = 2u /* a camera was unplugged */
} UsbDeviceChangeType;

/* What the frame callback's param points at. The library owns it; fields may be added at the end,
 * never moved. */
typedef struct previewParam {
    long devIndex;           /* the device that produced the frame */
    long long captureTimeUs; /* when the camera handed the frame over (the driver's buffer time
                                stamp), in microseconds of CLOCK_MONOTONIC; 0 when the driver's
                                stamps come from another clock. Subtracted from the monotonic clock
                                at any later point, it tells how old the picture is there. */
    /* The part of the camera's picture the frame shows, in millionths of the picture's width and
     * height (0, 0, 1000000, 1000000: all of it), see camSetPreviewPart. */
    long partX, partY, partWidth, partHeight;
} PreviewParam;

/* Frame callback, run on the device's capture thread. frame holds height rows of tightly packed
 * RGB888 (bytes R, G, B; 3 * width bytes a row); size = 3 * width * height; param points at a
 * PreviewParam. frame and param are valid only until the callback returns: copy what you keep. The
 * result is ignored. */
typedef bool (*callBackPreviewImage)(unsigned char* frame, long width, long height, long size, void* param);

/* Device-change callback, run on the library's event thread. For USB_DEVICE_CHANGE_REMOVE devId is
 * the camera's index in the current list; for USB_DEVICE_CHANGE_ADD it is the index the new camera
 * will have after the next rescan (camGetDevCount); the current list is left unchanged. */
typedef void (*callBackDevChange)(UsbDeviceChangeType change, long devId);

/* States of automatic capture (camGetAutoCaptureState). The callback is called with
 * CAM_AUTO_CAPTURED only, at the moment a new page has lain still for the hold time: the caller
 * captures it then (camCaptureImageFile). */
typedef enum CamAutoCaptureState {
    CAM_AUTO_OFF = 0,           /* not started, or stopped */
    CAM_AUTO_WAITING = 1,       /* waiting for a change: nothing new lies under the camera */
    CAM_AUTO_MOVING = 2,        /* the picture changes: a hand or a page moves */
    CAM_AUTO_HOLDING_STILL = 3, /* the picture lies still; capture follows after the hold time */
    CAM_AUTO_CAPTURED = 4,      /* a new page was just captured; waiting for the next change */
    CAM_AUTO_PAUSED = 5
} CamAutoCaptureState;

/* Automatic-capture callback, run on a capture thread of the device; state is CAM_AUTO_CAPTURED. It
 * should return quickly (start the capture elsewhere): the device's frames wait for it. The result is
 * ignored. */
typedef bool (*callBackAutoCapture)(long state);

/* ---- Library life ---------------------------------------------------------------------------- */

/* Starts the library: scans the cameras (real ones, then simulated ones) and starts hot-plug
 * monitoring. Calling it again while initialised does nothing and returns 0. */
OPTIGRAB_API long camInitCameraLib(void);

/* Shuts the library down: closes every device, stops hot-plug monitoring. When it returns, no callback
 * of any kind is running or will start. Returns CAM_ERR_NOT_INITIALISED when not initialised. */
OPTIGRAB_API long camUnInitCameraLib(void);

/* Stops the library's work: closes every open device (as camCloseDev). The library stays initialised:
 * the list, settings and hot-plug reports remain. */
OPTIGRAB_API long camStopCameraLib(void);

/* ---- Devices --------------------------------------------------------------------------------- */

/* Rescans the cameras and writes their number to *count. Devices that stay plugged keep streaming and
 * their settings; if a device's index changed, its frames carry the new index from now on. */
OPTIGRAB_API long camGetDevCount(long* count);

/* The driver's card name into name (512 bytes). */
OPTIGRAB_API long camGetDevName(long devIndex, char* name);

/* Product id as four lower-case hex digits into pid (10 bytes are enough; at most 10 are written).
 * CAM_ERR_NOT_SUPPORTED when the device has no USB id. */
OPTIGRAB_API long camGetDevPid(long devIndex, char* pid);

/* Vendor id as four lower-case hex digits into vid (at most 10 bytes written). CAM_ERR_NOT_SUPPORTED
 * when the device has no USB id. */
OPTIGRAB_API long camGetDevVid(long devIndex, char* vid);

/* Serial number into sn (256 bytes); CAM_ERR_NOT_SUPPORTED (and an empty string) when it has none. */
OPTIGRAB_API long camGetDevSN(long devIndex, char* sn);

/* *IsSupportLight = 0: no camera this library drives has a light it can switch. */
OPTIGRAB_API long camLightSupport(long devIndex, long* IsSupportLight);

/* Switches a light: CAM_ERR_NOT_SUPPORTED (see camLightSupport). */
OPTIGRAB_API long camSetLightCtrl(long devIndex, long lightIndex, long lightModel);

/* ---- Media types, resolutions, rates ---------------------------------------------------------- */

/* Number of media types the device offers. */
OPTIGRAB_API long camGetMediaTypeCount(long devIndex, long* count);

/* Code (1 YUY2, 2 MJPG, 3 NV12) of the index-th media type. */
OPTIGRAB_API long camGetMediaType(long devIndex, long index, long* type);

/* Name ("MJPG", "YUY2", "NV12") of the index-th media type into name (256 bytes). */
OPTIGRAB_API long camGetMediaTypeName(long devIndex, long index, char* name);

/* Number of resolutions of media type subType (a code, not an index). CAM_ERR_BAD_ARGUMENT for a code
 * the device does not offer. */
OPTIGRAB_API long camGetResolutionCount(long devIndex, long subType, long* count);

/* index-th resolution of media type subType, largest first. */
OPTIGRAB_API long camGetResolution(long devIndex, long subType, long index, long* width, long* height);

/* Number of frame rates of subType at width x height; CAM_ERR_BAD_ARGUMENT for a size not offered. */
OPTIGRAB_API long camGetFPSCount(long devIndex, long subType, long width, long height, long* count);

/* index-th frame rate (frames per second, rounded) of subType at width x height, highest first. */
OPTIGRAB_API long camGetFPS(long devIndex, long subType, long width, long height, long index, long* fps);

/* ---- Preview --------------------------------------------------------------------------------- */

/* Registers the frame callback of a device (one per device; a later one replaces it, NULL removes it).
 * May be called while the device streams: the next frame goes to the new callback. */
OPTIGRAB_API long camRegCallBackPreviewImage(long devIndex, callBackPreviewImage fun);

/* Opens the camera and starts preview. A code or size the device does not offer opens the nearest
 * offered mode (same code at the nearest size; else the first media type at the nearest size); fps 0
 * (or a rate not offered) takes the highest (nearest) rate of that mode. Opening an open device
 * restarts it in the new mode. Errors that often pass just after plug-in are tried again; a mode the
 * USB bus cannot carry opens MJPG at the same size, or a lower rate, instead (with a line on standard
 * error; camGetCurPreviewResolution tells the mode). CAM_ERR_BUSY when another program holds the
 * camera or no mode fits the USB bandwidth left. A stream that stops delivering is restarted, then
 * reopened; a camera that still sends nothing is reported as removed (USB_DEVICE_CHANGE_REMOVE). */
OPTIGRAB_API long camOpenDev(long devIndex, long subType, long width, long height, long fps);

/* Stops preview and closes the camera. When it returns, no frame callback of this device is running or
 * will start, also when the camera stopped delivering. CAM_ERR_NOT_OPEN when it was not open. */
OPTIGRAB_API long camCloseDev(long devIndex);

/* Media-type code, size and rate of the running preview, as the device actually runs it (frames handed
 * to the callback may be smaller when a size hint is set, see camSetPreviewSizeHint). */
OPTIGRAB_API long camGetCurPreviewResolution(long devIndex, long* subtype, long* width, long* height,
                                             long* fps);

/* lstyle != 0 pauses the preview (frames keep arriving from the camera and camCaptureImageFile keeps
 * working, but the frame callback is not called); lstyle = 0 resumes it. The device must be open.
 * Paused or without a callback, MJPEG frames are still decoded at the smallest scale, so that a damaged
 * frame never replaces the one still pictures are taken from. */
OPTIGRAB_API long camPause(long devIndex, long lstyle);

/* Library-side zoom: CAM_ERR_NOT_SUPPORTED (the viewer zooms on its side). */
OPTIGRAB_API long camZooIn(long devIndex);
OPTIGRAB_API long camZoomOut(long devIndex);
OPTIGRAB_API long camOriginalPreview(long devIndex);

/* Largest useful preview size of a device (for example the size of the window showing it). Preview
 * frames are then delivered smaller than the camera's mode, but never smaller than width x height:
 * MJPG frames are decoded with the smallest power-of-two DCT scaling (1/2, 1/4, 1/8) whose result still
 * covers width x height in both dimensions; YUY2 and NV12 frames are box-filtered to the smallest size
 * with the frame's aspect ratio that covers it. 0, 0 (the default) means full size. Still captures stay
 * at full resolution. May be called while streaming; it takes effect from the next frame. The hint
 * belongs to the device and survives closing and reopening it. */
OPTIGRAB_API long camSetPreviewSizeHint(long devIndex, long width, long height);

/* The part of the picture that preview frames show (a zoomed view needs no more), in millionths of
 * the width and height of the picture as shown (turned and mirrored by camSetImageRotateMode); 0, 0, 0, 0
 * (the default) or 0, 0, 1000000, 1000000 is all of it. The size hint then applies to that part, so a part of
 * a large picture comes at up to the camera's resolution. MJPG frames decode only the part's rows and columns
 * (to whole blocks; the rest of the frame is still read to find damage), YUY2 and NV12 frames convert only
 * the part (grown to whole chroma pairs). Each frame's PreviewParam tells the part it shows, which may be a
 * little larger than asked. Still captures stay whole. May be called while streaming; it takes effect from
 * the next frame and belongs to the device like the size hint. */
OPTIGRAB_API long camSetPreviewPart(long devIndex, long x, long y, long width, long height);

/* ---- Recording the camera's own stream --------------------------------------------------------- */

/* Records the open device's stream, as the camera sends it at its full resolution, into a Matroska
 * file at the UTF-8 path (conventionally ending in .mkv): MJPG frames byte for byte as the camera sent
 * them (no re-encoding), YUY2 and NV12 frames encoded once to H.264; every frame at the time the
 * camera took it (the driver's buffer time), so the file keeps real time however the program is
 * loaded. Damaged frames are left out. Nothing of the preview's orientation, look or zoom applies.
 * The writing runs on a thread of its own and never holds up the preview: frames the disk cannot take
 * in time are dropped (counted in a line on standard error at the end).
 *   audioIndex: -1 = no sound; 0 = the desktop's default sound input (PulseAudio, which PipeWire
 *               desktops serve too), 48 kHz mono AAC; other values answer CAM_ERR_NOT_SUPPORTED.
 *   isRecordSubDev: 0 = the device itself; other values (a second node of the camera) answer
 *               CAM_ERR_NOT_SUPPORTED.
 * The file is written under a temporary name beside path (name.recording.mkv for name.mkv) and
 * renamed to path by camStopUVCRecord; missing folders are created. Results: CAM_OK; CAM_ERR_NO_SOUND
 * when sound was asked for but no input could be opened (the recording runs, silent);
 * CAM_ERR_NOT_OPEN when the device is not open; CAM_ERR_BUSY when it is being recorded already;
 * CAM_ERR_FILE when the file cannot be created (nothing runs); CAM_ERR_BAD_ARGUMENT for a NULL or
 * empty path or audioIndex below -1. Reopening the device in the same mode (camOpenDev) goes on
 * recording; frames of another size or media type are left out. */
OPTIGRAB_API long camStartUVCRecord(int devIndex, int audioIndex, int isRecordSubDev, const char* path);

/* Ends the device's recording: writes what is queued, finishes the file and renames it to its path.
 * Works also after the camera was unplugged (until the next rescan, which finishes the recordings of
 * cameras that left the list, as camUnInitCameraLib finishes all). CAM_OK; CAM_ERR_FILE when writing
 * failed on the way (a full disk: the file holds, playable, what was written before);
 * CAM_ERR_NOT_OPEN when the device is not being recorded. */
OPTIGRAB_API long camStopUVCRecord(int devIndex);

/* ---- Recording pictures the caller composes ---------------------------------------------------- */

/* A recording of pictures the caller composes (the camera's picture with what is drawn over it, say)
 * and of a sound input, into an MP4 file: H.264 pictures, 48 kHz mono AAC sound, written in fragments
 * of half a second so that a file cut off by a crash plays up to shortly before the cut. Encoding runs
 * on a thread of the recording's own and handing a picture over never waits: when the encoder falls
 * behind, the picture waiting last makes room for the newest and is counted as dropped; sound is
 * never dropped. Sound and pictures start and end together.
 * Times are microseconds of the monotonic clock (CLOCK_MONOTONIC). Unlike the functions above, these
 * need neither camInitCameraLib nor a camera. One thread at a time uses a record. */
typedef struct CamPictureRecord CamPictureRecord;

/* Called on the recording's encoding thread at its first write error (a full disk, a folder gone),
 * with the reason; nothing more is written, and camStopPictureRecord keeps what was written before. */
typedef void (*CamRecordFailedCallback)(const char* reason, void* param);
/* Called once the recording no longer needs the pixels of a picture handed over, on any thread. */
typedef void (*CamPictureReleaseCallback)(void* picture);
/* Called for each sound input by camListSoundInputs, on the calling thread. */
typedef void (*CamSoundInputCallback)(const char* name, const char* description, void* param);

/* A new, idle record; NULL when out of memory. Free it with camFreePictureRecord. */
OPTIGRAB_API CamPictureRecord* camNewPictureRecord(void);

/* Ends a running recording as camStopPictureRecord does, and frees the record (NULL is ignored). */
OPTIGRAB_API void camFreePictureRecord(CamPictureRecord* record);

/* Creates the file at the UTF-8 path (as given: no temporary name, no folders) and starts recording
 * pictures scaled to width x height (cut to even sides, 2 to 16384) at about fps (1 to 240) a second,
 * with sound from the input named soundInput (its name from camListSoundInputs; "" = the desktop's
 * default input; NULL = no sound). startUs is the moment the file's start stands for.
 * Results: CAM_OK; CAM_ERR_NO_SOUND when no sound input could be opened (the recording runs, silent);
 * CAM_ERR_FILE when the file cannot be created (nothing runs); CAM_ERR_BUSY when the record is
 * recording already; CAM_ERR_BAD_ARGUMENT for a NULL record, a NULL or empty path or a size or rate
 * out of range. camPictureRecordText tells why, after the first two. */
OPTIGRAB_API long camStartPictureRecord(CamPictureRecord* record, const char* path, long width, long height,
                                        long fps, const char* soundInput, long long startUs,
                                        CamRecordFailedCallback failed, void* param);

/* Hands over a picture seen at seenUs: width x height pixels of 32 bits (blue, green, red and an
 * unused byte in memory order, as Qt's RGB32), stride bytes a row; any size, scaled to the
 * recording's. The pixels must stay unchanged until release(picture) runs, which happens exactly
 * once whatever the result (release may be NULL when the pixels outlive the recording). Never waits
 * for the encoder. CAM_OK (also when the picture is dropped, or left out after a write error);
 * CAM_ERR_NOT_OPEN when the record is not recording; CAM_ERR_BAD_ARGUMENT for NULL pixels or a size or
 * stride that cannot be right. */
OPTIGRAB_API long camRecordPicture(CamPictureRecord* record, const unsigned char* pixels, long width,
                                   long height, long stride, long long seenUs,
                                   CamPictureReleaseCallback release, void* picture);

/* Ends the recording at this moment: waits for the sound heard until now (a second at most), writes
 * what waits and finishes the file; the last picture stands until the end. pictures and dropped
 * (either may be NULL) receive how many pictures went into the file and how many were dropped, also
 * when the result is not CAM_OK. CAM_OK; CAM_ERR_FILE when writing failed on the way (the file holds,
 * playable, what was written before; camPictureRecordText tells why); CAM_ERR_NOT_OPEN when the record
 * is not recording; CAM_ERR_BAD_ARGUMENT for a NULL record. */
OPTIGRAB_API long camStopPictureRecord(CamPictureRecord* record, long long* pictures, long long* dropped);

/* Ends the recording where its pictures end, for pictures timed by the caller (a time-lapse, whose
 * pictures stand 1/fps apart whatever time passed between them): writes every picture handed over
 * and finishes the file, its last picture lasting one frame. Results and out-arguments as
 * camStopPictureRecord. */
OPTIGRAB_API long camFinishPictureRecord(CamPictureRecord* record, long long* pictures, long long* dropped);

/* Why the last start, stop or finish of the record did not answer CAM_OK, in English for logs ("" when
 * it did); valid until the next call with the record. Never NULL. */
OPTIGRAB_API const char* camPictureRecordText(const CamPictureRecord* record);

/* Lists the inputs of the desktop's sound server (monitors of outputs left out) through each, waiting
 * for the server's answer (a few milliseconds; without a server the list is empty). CAM_OK;
 * CAM_ERR_BAD_ARGUMENT for a NULL callback. */
OPTIGRAB_API long camListSoundInputs(CamSoundInputCallback each, void* param);

/* Reads the first picture of the video file at the UTF-8 path, scaled into maxWidth x maxHeight with
 * its shape kept, into pixels (a buffer of 4 x maxWidth x maxHeight bytes; 32-bit pixels as
 * camRecordPicture takes them, 4 x *width bytes a row), and the file's length in seconds (0 when the
 * file does not say). CAM_OK; CAM_ERR_FILE when the file cannot be read or holds no picture that
 * decodes; CAM_ERR_BAD_ARGUMENT for a NULL argument or a bound below 1. */
OPTIGRAB_API long camReadRecordingPicture(const char* path, long maxWidth, long maxHeight,
                                          unsigned char* pixels, long* width, long* height, double* seconds);

/* ---- Picture: orientation and look ------------------------------------------------------------ */

/* Orientation of camSetImageRotateMode: a turn clockwise in degrees, ORed with CAM_ROTATE_MIRROR
 * and/or CAM_ROTATE_FLIP. The mirror (left and right exchanged) and the flip (upside down) apply to
 * the camera's picture first, then the turn. */
enum CamRotateMode {
    CAM_ROTATE_0 = 0,
    CAM_ROTATE_90 = 90,
    CAM_ROTATE_180 = 180,
    CAM_ROTATE_270 = 270,
    CAM_ROTATE_MIRROR = 0x1000,
    CAM_ROTATE_FLIP = 0x2000
};

/* Turns, mirrors or flips the device's preview frames and still pictures (CAM_ROTATE_0 = as the camera
 * sends them). A quarter turn exchanges the preview's width and height; such a picture is decoded
 * large enough to fill the size hint's rectangle with its own shape (fitted inside it). A still that
 * is the camera's own JPEG is turned without re-encoding when its size is a whole number of JPEG
 * blocks and the look is CAM_LOOK_COLOUR. Takes effect from the next frame and belongs to the device
 * (it survives closing and reopening). CAM_ERR_BAD_ARGUMENT for an angle other than 0, 90, 180, 270
 * or other bits. */
OPTIGRAB_API long camSetImageRotateMode(long devIndex, long rotate);

/* Looks of camSetImageColorStyle. */
enum CamLook {
    CAM_LOOK_COLOUR = 0,     /* as the camera sends it */
    CAM_LOOK_GREY = 1,       /* luma only */
    CAM_LOOK_DOCUMENT = 2,   /* grey, the page's uneven lighting divided out: white paper, dark text */
    CAM_LOOK_BLACK_WHITE = 3 /* two levels, by a local (Sauvola) threshold that follows uneven light */
};

/* Gives the device's preview frames and still pictures a look (CamLook). The preview's look is
 * computed on the preview-sized picture. Takes effect from the next frame and belongs to the device.
 * CAM_ERR_BAD_ARGUMENT for another value. */
OPTIGRAB_API long camSetImageColorStyle(long devIndex, long type);

/* ---- Camera controls ---------------------------------------------------------------------------
 * The controls the camera itself offers (V4L2 controls: brightness, exposure, focus, power-line
 * frequency ...), whether the device is open or not. Ids are the V4L2 control ids (V4L2_CID_*). Driver
 * errors come back as codes, with the driver's reason in a line on standard error: EINVAL and ERANGE as
 * CAM_ERR_BAD_ARGUMENT, EBUSY as CAM_ERR_BUSY, EACCES as CAM_ERR_INACTIVE, others as CAM_ERR_IO. */

enum CamControlType { CAM_CONTROL_INTEGER = 1, CAM_CONTROL_BOOLEAN = 2, CAM_CONTROL_MENU = 3 };
enum CamControlFlag {
    CAM_CONTROL_FLAG_INACTIVE = 1, /* another control is in charge of it now: setting it fails */
    CAM_CONTROL_FLAG_READ_ONLY = 2
};

typedef struct CamControlInfo {
    unsigned int id; /* V4L2 control id */
    char name[32];   /* the driver's name, UTF-8 */
    long type;       /* CamControlType */
    long minimum, maximum, step, defaultValue;
    long value; /* current value when the list was read */
    long flags; /* CamControlFlag bits */
} CamControlInfo;

/* Reads the camera's integer, boolean and menu controls (in the driver's order) and writes their
 * number to *count; camGetControlInfo then describes them by index until the next call. 0 controls
 * for a camera that has none. */
OPTIGRAB_API long camGetControlCount(long devIndex, long* count);
OPTIGRAB_API long camGetControlInfo(long devIndex, long index, CamControlInfo* info);

/* Name (UTF-8, 32 bytes) of menu entry value of menu control id; CAM_ERR_BAD_ARGUMENT for a value the
 * menu does not have (menus may have gaps between minimum and maximum). */
OPTIGRAB_API long camGetControlMenuName(long devIndex, unsigned int id, long value, char* name);

/* The control's current value from the camera. */
OPTIGRAB_API long camGetControl(long devIndex, unsigned int id, long* value);

/* Sets a control. CAM_ERR_INACTIVE for a control that is inactive or read-only now,
 * CAM_ERR_BAD_ARGUMENT for a value outside minimum..maximum or an unknown id. */
OPTIGRAB_API long camSetControl(long devIndex, unsigned int id, long value);

/* *supported = 1 when the camera can focus by itself (V4L2_CID_AUTO_FOCUS_START or
 * V4L2_CID_FOCUS_AUTO), else 0. */
OPTIGRAB_API long camAutoFocusSupport(long devIndex, long* supported);

/* Focuses once: V4L2_CID_AUTO_FOCUS_START where the camera has it, else continuous focus switched on
 * for a short while (about 1.5 s, which this call waits for) and off again, leaving the lens where it
 * settled. CAM_ERR_NOT_SUPPORTED for a camera without either. */
OPTIGRAB_API long camAutoFocusOnce(long devIndex);

/* ---- Pages ---------------------------------------------------------------------------------- */

/* Page cropping of stills: type 0 = off (the default), 1 = cut out and straighten the page lying
 * under the camera (the largest light four-cornered shape, fully inside the picture) to an upright
 * rectangle with the page's aspect ratio, at full resolution. 2 (several pages) and 3 (book: see
 * camCaptureBookEx) answer CAM_ERR_NOT_SUPPORTED; other values CAM_ERR_BAD_ARGUMENT. While it is on,
 * the live frames are searched for the page (every third frame), for camGetPageCorners. */
OPTIGRAB_API long camSetImageAutoCrop(long devIndex, long type);

/* After cropping: type 1 turns the page by the small skew its text lines still show (up to 5
 * degrees), 0 (the default) leaves it. Other values: CAM_ERR_BAD_ARGUMENT. */
OPTIGRAB_API long camSetImageOffsetCorrection(long devIndex, long type);

/* After cropping: type 1 paints the outer strip of the page (1 % of its shorter side), where desk or
 * the paper's shadowed edge shows, white; 0 (the default) leaves it. Other values: BAD_ARGUMENT. */
OPTIGRAB_API long camSetImageFillBorder(long devIndex, long type);

/* The page found in the live picture, smoothed over frames, for drawing its outline: *found = 1 and
 * corners[0..7] = x, y of the top-left, top-right, bottom-right and bottom-left corners in pixels of
 * the device's mode (camGetCurPreviewResolution); *found = 0 when no page lies fully in the picture or
 * cropping is off. The device must be open. */
OPTIGRAB_API long camGetPageCorners(long devIndex, long* corners, long* found);

/* ---- Image processing (not supported: the viewer gets the camera's picture as it is) ---------- */

OPTIGRAB_API long camSetImageAdjust(long devIndex, long type);
OPTIGRAB_API long camSetImageDenoise(long devIndex, bool IsAvailabel);
OPTIGRAB_API long camSetImageFileSign(long devIndex, bool IsAvailabel);

/* Watermark on captured images: CAM_ERR_NOT_SUPPORTED. Arguments in order: device, text, type, font
 * size, font name (empty = default), x offset, y offset, angle in degrees, red, green, blue (0-255),
 * visible flag, then the two floating-point arguments last: scale of the text (0.0 = automatic) and
 * opacity (0.0 transparent to 1.0 opaque). */
OPTIGRAB_API long camSetImageWaterMark(long devIndex, const char* msg, long type, long font_size,
                                       const char* font, long x, long y, long angle, long r, long g, long b,
                                       long visible, double scale, double opacity);

/* ---- Hot-plug -------------------------------------------------------------------------------- */

/* Registers the device-change callback (NULL removes it). There is one for the library: devIndex is
 * not checked, since it is registered before any camera may be present. Only cameras the library can
 * show are reported: nodes without a media type it decodes (infrared, H.264 only) are not, and a
 * camera this user may not open is reported when its permissions change (with a line on standard
 * error until then). */
OPTIGRAB_API long camRegCallBackDeviceChange(long devIndex, callBackDevChange fun);

/* ---- Still pictures -------------------------------------------------------------------------- */

/* Writes the latest good frame of the open device at full resolution as a JPEG (baseline, JFIF, with
 * the quality and DPI set below) at the UTF-8 path file, before returning; with page cropping on
 * (camSetImageAutoCrop), the page cut out of it, or, when no page is found, the whole picture and
 * CAM_ERR_NO_PAGE. Missing folders are created. The file appears whole or not at all (temporary file
 * in the same folder, flushed, then renamed). CAM_ERR_NOT_OPEN / CAM_ERR_NO_FRAME / CAM_ERR_FILE leave
 * no file behind. */
OPTIGRAB_API long camCaptureImageFile(long devIndex, const char* file);

/* JPEG quality of captured files, 1-100 (default 90); CAM_ERR_BAD_ARGUMENT outside that range. */
OPTIGRAB_API long camSetImageJPGQuanlity(long devIndex, long quanlity);
OPTIGRAB_API long camGetImageJPGQuanlity(long devIndex, long* quanlity);

/* Resolution written into captured files' JFIF header, 1-65535 dots per inch (default 96 x 96). */
OPTIGRAB_API long camGetImageDPI(long devIndex, long* xDPI, long* yDPI);
OPTIGRAB_API long camSetImageDPI(long devIndex, long xDPI, long yDPI);

/* Book spreads. *isBook = 1 when the latest frame of the open device shows an open book: a landscape
 * picture with a gutter (a dark or shaded vertical band near the middle between two lighter pages),
 * else 0. CAM_ERR_NO_FRAME when there is no frame yet. */
OPTIGRAB_API long camCaptureIsBook(long devIndex, long* isBook);

/* Captures a spread as two files: the left page at filepath1, the right one at filepath2, each cut
 * out and straightened (with the options of camSetImageOffsetCorrection and camSetImageFillBorder)
 * when the spread's outline is found, else split at the gutter as they lie. *pageMask: bit 0 = the
 * left page was written, bit 1 = the right one. A picture that shows no spread is written whole to
 * filepath1 (*pageMask = 1). Files appear whole or not at all, as camCaptureImageFile's. */
OPTIGRAB_API long camCaptureBookEx(long devIndex, const char* filepath1, const char* filepath2,
                                   int* pageMask);

/* ---- Automatic capture ----------------------------------------------------------------------- */

/* Starts automatic capture of a device: while it streams, when the picture has changed and then lain
 * still for the hold time, and differs from the page captured last, fun is called with CAM_AUTO_CAPTURED.
 * type 1: param is the hold time in seconds; type 2: in milliseconds (100 to 60000). detection true:
 * only a picture in which a page is found is captured (an empty desk is not). The page lying there
 * when it starts counts as new. Starting again restarts it with the new values. CAM_ERR_BAD_ARGUMENT
 * for an unknown type, a hold time out of range or fun NULL. */
OPTIGRAB_API long camStartAutoCapture(long devIndex, long type, long param, callBackAutoCapture fun,
                                      bool detection);

/* pause != 0 pauses automatic capture (no frame is looked at, fun is not called), 0 resumes it.
 * camPauseAutoCapture and camStopAutoCapture return at once; when fun runs on another thread at that
 * moment, as soon as it has returned. After they return fun is not called again (until resumed or
 * started). CAM_ERR_NOT_OPEN when automatic capture was not started. */
OPTIGRAB_API long camPauseAutoCapture(long devIndex, long pause);
OPTIGRAB_API long camStopAutoCapture(long devIndex);

/* The automatic capture's state now, a CamAutoCaptureState, into *state (for an indicator). */
OPTIGRAB_API long camGetAutoCaptureState(long devIndex, long* state);

#ifdef __cplusplus
}
#endif

#endif /* OPTIGRAB_H */
