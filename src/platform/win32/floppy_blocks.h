// The Windows floppy block source over an open handle, for the tests: any handle that reads
// sector-aligned (a raw floppy, or an image file opened without buffering) with its geometry.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <memory>

#include "platform/block_source.h"

namespace platform::win32 {

// Takes the handle over (closes it).
std::unique_ptr<BlockSource> floppyBlocksOver(HANDLE handle, const DISK_GEOMETRY& geometry);

}  // namespace platform::win32
