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
    // Set once a warning has gone to the sink: one per image, however many strips or
    // scans it has, so a broken file does not ask the same question again and again.
    bool Warned = false;
};

// Prepares error and returns the manager to put into a decompressor's err before it is
// created. Arm error.Jump with setjmp before the first libjpeg call.
jpeg_error_mgr* JpegErrorManager(RJpegErrorManager& error);

// Where libjpeg's warnings go: the first of each image, as text. The windows show it in
// a box titled "Warning"; without a sink warnings are dropped. The sink must not throw
// (what it throws is dropped). Returns the previous sink.
using TJpegWarningSink = std::function<void(const QString& message)>;
TJpegWarningSink SetJpegWarningSink(TJpegWarningSink sink);

// Gives the Latin-1 text to the sink unless error has warned already; safe to call from libjpeg's
// callbacks.
void JpegWarning(RJpegErrorManager& error, const char* text);

// EInvalidGraphic "JPEG error #<code>".
[[noreturn]] void RaiseJpegError(const RJpegErrorManager& error);
