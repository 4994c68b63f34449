// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of system-call failures into the library's result codes.
#pragma once

namespace optigrab {

// A CamResult for a failed V4L2 or file call: EBUSY and ENOSPC (no USB bandwidth) -> busy, ENODEV -> gone,
// ENOMEM -> no memory, anything else -> I/O error.
long resultFromErrno(int error);

}  // namespace optigrab
