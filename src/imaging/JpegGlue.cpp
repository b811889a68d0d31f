// The error manager shared by the libjpeg decoders.
#include "imaging/JpegGlue.h"

#include "imaging/ImageGraphic.h"

namespace {

TJpegWarningSink& WarningSink()
{
    static TJpegWarningSink sink;
    return sink;
}

[[noreturn]] void JpegErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<RJpegErrorManager*>(info->err);
    error->Code = info->err->msg_code;
    info->err->format_message(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// Level below 0 is a warning; above it, trace output, which is never shown.
void JpegEmitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    auto* error = reinterpret_cast<RJpegErrorManager*>(info->err);
    if (error->FatalWarning && error->FatalWarning(info->err->msg_code))
        JpegErrorExit(info);
    ++info->err->num_warnings;
    info->err->output_message(info);
}

void JpegOutputMessage(j_common_ptr info)
{
    auto* error = reinterpret_cast<RJpegErrorManager*>(info->err);
    if (error->Warned)
        return;
    char text[JMSG_LENGTH_MAX] = {};
    info->err->format_message(info, text);
    JpegWarning(*error, text);
}

}  // namespace

jpeg_error_mgr* JpegErrorManager(RJpegErrorManager& error)
{
    jpeg_std_error(&error.Manager);
    error.Manager.error_exit = &JpegErrorExit;
    error.Manager.emit_message = &JpegEmitMessage;
    error.Manager.output_message = &JpegOutputMessage;
    error.Code = 0;
    error.Message[0] = '\0';
    error.Warned = false;
    return &error.Manager;
}

void JpegWarning(RJpegErrorManager& error, const char* text)
{
    if (error.Warned)
        return;
    error.Warned = true;
    const TJpegWarningSink& sink = WarningSink();
    if (!sink)
        return;
    try {
        sink(QString::fromLatin1(text));
    } catch (...) {
        // Called from libjpeg's C frames: nothing may unwind through them.
    }
}

TJpegWarningSink SetJpegWarningSink(TJpegWarningSink sink)
{
    return std::exchange(WarningSink(), std::move(sink));
}

void RaiseJpegError(const RJpegErrorManager& error)
{
    RaiseGraphicError(QStringLiteral("JPEG error #%1").arg(error.Code));
}
