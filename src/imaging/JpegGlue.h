// libjpeg's errors and warnings, for every decoder here that runs libjpeg. libjpeg calls
// its error manager from C frames, which a C++ exception must never cross: a fatal
// error jumps back (longjmp) to the frame that armed the jump, a frame of ours that owns
// nothing with a destructor, and that frame's caller raises. Warnings go to one
// replaceable sink; nothing reaches the console.
#pragma once

#include <QString>

#include <csetjmp>
#include <cstdio>
#include <functional>

#include <jpeglib.h>

struct RJpegErrorManager {
    jpeg_error_mgr Manager;  // first: libjpeg's err pointer is this record
    std::jmp_buf Jump;
    int Code = 0;            // the message code of the error that ended the decode
    char Message[JMSG_LENGTH_MAX] = {};
    // A warning this answers true for ends the decode as an error does.
    bool (*FatalWarning)(int code) = nullptr;
};

// Prepares error and returns the manager to put into a decompressor's err before it is
// created. Arm error.Jump with setjmp before the first libjpeg call.
jpeg_error_mgr* JpegErrorManager(RJpegErrorManager& error);

// Where libjpeg's warnings go: the first of each decode, as text. The windows show it in
// a box titled "Warning"; without a sink warnings are dropped. The sink must not throw
// (what it throws is dropped). Returns the previous sink.
using TJpegWarningSink = std::function<void(const QString& message)>;
TJpegWarningSink SetJpegWarningSink(TJpegWarningSink sink);

// EInvalidGraphic "JPEG error #<code>".
[[noreturn]] void RaiseJpegError(const RJpegErrorManager& error);
