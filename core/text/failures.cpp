#include "core/text/failures.h"

#include <new>

#include "core/text/code_page.h"
#include "core/text/failure_texts.h"

namespace core {
namespace {

std::string replaceFirst(std::string_view pattern, std::string_view marker, std::string_view value) {
    std::string out(pattern);
    const auto at = out.find(marker);
    if (at != std::string::npos) out.replace(at, marker.size(), value);
    return out;
}

std::string ioText(int number) {
    switch (number) {
        case io::kFileNotFound: return texts::kIo2;
        case io::kPathNotFound: return texts::kIo3;
        case io::kTooManyOpenFiles: return texts::kIo4;
        case io::kAccessDenied: return texts::kIo5;
        case io::kInvalidNumber: return texts::kIo106;
        default: return replaceFirst(texts::kIoOther, "%d", std::to_string(number));
    }
}

}  // namespace

ConversionFailure::ConversionFailure(std::string_view text)
    : Failure(replaceFirst(texts::kConversion, "%s", text)), text_(text) {}

IoFailure::IoFailure(int number) : Failure(ioText(number)), number_(number) {}

RangeFailure::RangeFailure() : Failure(texts::kRange) {}

OutOfMemoryFailure::OutOfMemoryFailure() : Failure(texts::kOutOfMemory) {}

FileOpenFailure::FileOpenFailure(std::string_view path) : Failure(replaceFirst(texts::kFileOpen, "%s", path)) {}

InvalidBitmapFailure::InvalidBitmapFailure() : Failure(texts::kInvalidBitmap) {}

StreamReadFailure::StreamReadFailure() : Failure(texts::kStreamRead) {}

Failure failureOf(const std::exception& escaped) {
    if (const auto* failure = dynamic_cast<const Failure*>(&escaped)) return *failure;
    if (dynamic_cast<const std::bad_alloc*>(&escaped)) return OutOfMemoryFailure();
    return Failure(escaped.what());
}

std::string withFullStop(std::string_view message) {
    std::string out(message);
    std::size_t lastStart = std::string::npos;
    for (std::size_t i = 0; i < message.size();) {
        lastStart = i;
        i += (isLeadByte(static_cast<unsigned char>(message[i])) && i + 1 < message.size()) ? 2 : 1;
    }
    if (lastStart != std::string::npos && static_cast<unsigned char>(message[lastStart]) > 0x2E) out += '.';
    return out;
}

}  // namespace core
