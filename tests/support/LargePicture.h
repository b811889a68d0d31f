// For the tests that build a picture of hundreds of megabytes: they set the memory limit
// of the picture readers themselves, so what other programs hold at the moment cannot
// refuse the picture, and they run one at a time across every test program, whatever
// runs the programs side by side.
#pragma once

#include "imaging/PictureRegistry.h"

#include <QDir>
#include <QLockFile>
#include <cstdint>

class TLargePictureScope {
public:
    explicit TLargePictureScope(std::int64_t limitBytes)
        : Lock(QDir::temp().filePath(QStringLiteral("velmora-large-picture-test.lock")))
    {
        Lock.setStaleLockTime(0);   // a slow holder keeps it; one that died leaves none
        Lock.lock();
        SetPictureMemoryLimit(limitBytes);
    }
    ~TLargePictureScope() { SetPictureMemoryLimit(0); }
    TLargePictureScope(const TLargePictureScope&) = delete;
    TLargePictureScope& operator=(const TLargePictureScope&) = delete;

private:
    QLockFile Lock;
};
