#pragma once

#include <QImage>
#include <string>

#include "foundations/VM4_Errors.h"

// Raised when a JPEG picture cannot be read or written; the message names the
// operation and the reason libjpeg gave.
VELMORA_DECLARE_ERROR(EJPEGImage);

// JPEG pictures through libjpeg, called directly, with its default settings
// (quality 75). The drawing's screen picture is written with it and the
// pictures of the example systems are read with it.
class TJPEGImage {
public:
    static constexpr int DefaultQuality = 75;

    // The decoded picture (RGB32); grey-scale pictures come back as grey RGB.
    static QImage LoadFromBytes(const std::string& bytes);
    static QImage LoadFromFile(const std::string& path);

    // The picture compressed at the given quality (1..100).
    static std::string SaveToBytes(const QImage& image, int quality = DefaultQuality);
    static void SaveToFile(const QImage& image, const std::string& path, int quality = DefaultQuality);
};
