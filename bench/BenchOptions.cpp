#include "BenchOptions.h"

#include <cstdlib>

BenchOptions::BenchOptions(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
    {
        std::string arg = argv[i];
        if (arg == "--")
        {
            command_.assign(argv + i + 1, argv + argc);
            return;
        }
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0 || i + 1 >= argc)
        {
            error_ = "bad argument: " + arg;
            return;
        }
        values_[arg.substr(2)] = argv[++i];
    }
}

std::string BenchOptions::text(const std::string& name, const std::string& fallback) const
{
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

long BenchOptions::number(const std::string& name, long fallback) const
{
    auto it = values_.find(name);
    if (it == values_.end())
        return fallback;
    char* end = nullptr;
    long value = std::strtol(it->second.c_str(), &end, 10);
    if (it->second.empty() || *end != '\0')
        error_ = "--" + name + " needs a whole number";
    return value;
}

double BenchOptions::seconds(const std::string& name, double fallback) const
{
    auto it = values_.find(name);
    if (it == values_.end())
        return fallback;
    char* end = nullptr;
    double value = std::strtod(it->second.c_str(), &end);
    if (it->second.empty() || *end != '\0' || value < 0)
        error_ = "--" + name + " needs a number of seconds";
    return value;
}
