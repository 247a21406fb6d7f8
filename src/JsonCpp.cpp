#include "JsonCpp.h"

namespace Json
{
namespace
{
const size_t kInitialCapacity = 256;
}

JsonCpp::JsonCpp() : buffer_(nullptr, kInitialCapacity), writer_(buffer_) {}

JsonCpp::~JsonCpp() = default;

bool JsonCpp::Parse(const std::string& text)
{
    // A document's pool frees nothing until the document goes: parsing into
    // the same one again would keep every earlier text's values for good.
    rapidjson::Document fresh;
    // Iterative: a datagram of nested brackets must not exhaust the stack.
    fresh.Parse<rapidjson::kParseIterativeFlag>(text.c_str(), text.size());
    if (fresh.HasParseError())
        return false;
    document_.Swap(fresh);
    return true;
}

void JsonCpp::Clear()
{
    if (buffer_.GetSize() > kKeptCapacity)
        buffer_ = rapidjson::StringBuffer(nullptr, kInitialCapacity);
    else
        buffer_.Clear();
    writer_.Reset(buffer_);
}
}
