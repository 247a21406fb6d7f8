#include "JsonCpp.h"

namespace Json
{
JsonCpp::JsonCpp() : buffer_(nullptr, 256), writer_(buffer_) {}

JsonCpp::~JsonCpp() = default;

bool JsonCpp::Parse(const std::string& text)
{
    document_.Parse(text.c_str(), text.size());
    return !document_.HasParseError();
}

void JsonCpp::Clear()
{
    buffer_.Clear();
    writer_.Reset(buffer_);
}
}
