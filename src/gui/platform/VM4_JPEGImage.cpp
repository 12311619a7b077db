#include "platform/VM4_JPEGImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace {

const std::string kLoadFailed = "TJPEGImage.Load Failed: ";
const std::string kSaveFailed = "TJPEGImage.Save Failed: ";

// libjpeg's default error handler ends the process. Ours jumps back to the
// call that started the work, with the library's message kept for the exception.
// (An exception must not be thrown through libjpeg's C frames.)
struct TErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Return;
    char Message[JMSG_LENGTH_MAX];
};

void JumpBackOnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<TErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Return, 1);
}

// Warnings (a picture cut short, for instance) are not errors: libjpeg fills in
// what is missing and the picture is still shown.
void IgnoreMessage(j_common_ptr, int) {}

void InstallErrorManager(TErrorManager& manager, jpeg_error_mgr*& target) {
    target = jpeg_std_error(&manager.Base);
    manager.Base.error_exit = JumpBackOnError;
    manager.Base.emit_message = IgnoreMessage;
    manager.Message[0] = '\0';
}

// Decodes into `pixels` as RGB rows; false with the library's message on failure.
bool Decode(const std::string& bytes, std::vector<unsigned char>& pixels, int& width, int& height,
            std::string& message) {
    jpeg_decompress_struct info;
    TErrorManager errors;
    InstallErrorManager(errors, info.err);
    if (setjmp(errors.Return)) {
        jpeg_destroy_decompress(&info);
        message = errors.Message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    pixels.resize(rowBytes * static_cast<std::size_t>(height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Encodes RGB rows; false with the library's message on failure.
bool Encode(const QImage& rgb, int quality, std::string& bytes, std::string& message) {
    jpeg_compress_struct info;
    TErrorManager errors;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    InstallErrorManager(errors, info.err);
    if (setjmp(errors.Return)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        message = errors.Message;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<unsigned char*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    bytes.assign(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return true;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EJPEGImage(kLoadFailed + "cannot open " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

QImage TJPEGImage::LoadFromBytes(const std::string& bytes) {
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    std::string message;
    if (!Decode(bytes, pixels, width, height, message)) throw EJPEGImage(kLoadFailed + message);
    const QImage rows(pixels.data(), width, height, width * 3, QImage::Format_RGB888);
    return rows.convertToFormat(QImage::Format_RGB32);  // a deep copy: `pixels` goes away
}

QImage TJPEGImage::LoadFromFile(const std::string& path) {
    try {
        return LoadFromBytes(ReadWholeFile(path));
    } catch (const EJPEGImage& error) {
        throw EJPEGImage(std::string(error.what()) + " (" + path + ")");
    }
}

std::string TJPEGImage::SaveToBytes(const QImage& image, int quality) {
    if (image.isNull()) throw EJPEGImage(kSaveFailed + "the picture is empty");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::string bytes;
    std::string message;
    if (!Encode(rgb, quality, bytes, message)) throw EJPEGImage(kSaveFailed + message);
    return bytes;
}

void TJPEGImage::SaveToFile(const QImage& image, const std::string& path, int quality) {
    const std::string bytes = SaveToBytes(image, quality);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw EJPEGImage(kSaveFailed + "cannot write " + path);
}
