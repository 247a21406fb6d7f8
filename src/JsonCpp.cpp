#include "JsonCpp.h"

namespace Json
{
JsonCpp::JsonCpp() : buffer_(nullptr, 256), writer_(buffer_) {}

JsonCpp::~JsonCpp() = default;

bool JsonCpp::Parse(const std::string& text)
{
    // Iterative: a datagram of nested brackets must not exhaust the stack.
    document_.Parse<rapidjson::kParseIterativeFlag>(text.c_str(), text.size());
    return !document_.HasParseError();
}

void JsonCpp::Clear()
{
    buffer_.Clear();
    writer_.Reset(buffer_);
}
}
