#pragma once
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <string>

#include "muduo/base/noncopyable.h"

namespace Json
{
// The program's one JSON object: parses a text into a document the request
// parsers read, and writes an answer value by value into a string buffer.
// Long-lived owners reuse one for every request, so neither side may keep
// memory from one use to the next: each parse gets a document (and pool) of
// its own, and emptying the buffer after a long text gives its room back.
class JsonCpp : muduo::noncopyable
{
public:
    JsonCpp();
    ~JsonCpp();

    // True when the whole text is one JSON value, which then replaces the
    // document and the memory of the one before; on failure the document
    // keeps what it held.
    bool Parse(const std::string& text);
    rapidjson::Document& GetDocument() { return document_; }
    const rapidjson::Document& GetDocument() const { return document_; }

    // Empties the buffer and readies the writer for a new text; a buffer
    // grown past kKeptCapacity starts small again.
    void Clear();
    static constexpr size_t kKeptCapacity = 4096;
    // The text written so far.
    std::string GetString() const { return std::string(buffer_.GetString(), buffer_.GetSize()); }

    void StartObject() { writer_.StartObject(); }
    void EndObject() { writer_.EndObject(); }
    void StartArray() { writer_.StartArray(); }
    void EndArray() { writer_.EndArray(); }
    void Key(const char* key) { writer_.Key(key); }
    void Key(const std::string& key) { writer_.Key(key.data(), static_cast<rapidjson::SizeType>(key.size())); }

    void WriteValue(int v) { writer_.Int(v); }
    void WriteValue(unsigned int v) { writer_.Uint(v); }
    void WriteValue(int64_t v) { writer_.Int64(v); }
    void WriteValue(uint64_t v) { writer_.Uint64(v); }
    void WriteValue(double v) { writer_.Double(v); }
    void WriteValue(bool v) { writer_.Bool(v); }
    void WriteValue(const char* v) { writer_.String(v); }
    void WriteValue(const std::string& v)
    {
        writer_.String(v.data(), static_cast<rapidjson::SizeType>(v.size()));
    }
    void WriteNull() { writer_.Null(); }

    // Doubles written from now on lose every digit past this many decimal
    // places (cut, not rounded); kDefaultMaxDecimalPlaces restores the full
    // precision.
    static constexpr int kDefaultMaxDecimalPlaces =
        rapidjson::Writer<rapidjson::StringBuffer>::kDefaultMaxDecimalPlaces;
    void SetMaxDecimalPlaces(int places) { writer_.SetMaxDecimalPlaces(places); }

    template <typename T>
    void WriteKeyValue(const char* key, const T& v)
    {
        Key(key);
        WriteValue(v);
    }
    void WriteKeyValue(const char* key, const char* v)
    {
        Key(key);
        WriteValue(v);
    }

private:
    rapidjson::StringBuffer buffer_;
    rapidjson::Writer<rapidjson::StringBuffer> writer_;
    rapidjson::Document document_;
};
}
