#pragma once
#include "snmp/processor/SnmpItemTable.h"
#include "snmp/processor/SnmpProcessor.h"

namespace snmp
{
// A request that reads or changes one configuration item: the item its
// parser chose (none at first), the item's value, and the number the answer
// repeats before it (the outlet, the index, the cascade level). The answer
// names the item as the family's table does:
// {"response":code,"result":0,"content":{[group:{][lead:n,]key:value[}]}}.
class SnmpItemProcessor : public SnmpProcessor
{
public:
    ~SnmpItemProcessor() override;

    // Reads the request's "content" into the item, its value and the lead
    // number; false when the request names no item of the family.
    virtual bool read(const rapidjson::Value& content) = 0;
    bool buildResponseString(int result, std::string& out) final;

    int item() const { return item_; }
    const SnmpValue& value() const { return value_; }

protected:
    // leadKey: null when the answer repeats no number.
    SnmpItemProcessor(int code, const SnmpItemTable& table, bool set, const char* leadKey, int noItem);

    // The first item the table's group offers in object; false for none.
    bool choose(const rapidjson::Value& object, size_t group);
    // The first item of the first group, in table order, that offers one;
    // a named group counts only as an object member of content.
    bool chooseInGroups(const rapidjson::Value& content);

    const int code_;
    const SnmpItemTable& table_;
    const bool set_;
    const char* const leadKey_;
    int item_;
    int lead_ = 0;
    SnmpValue value_;

private:
    void writeValue(Json::JsonCpp& writer, SnmpValue::Kind kind);
};
}
