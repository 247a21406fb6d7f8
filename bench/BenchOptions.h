#pragma once
#include <map>
#include <string>
#include <vector>

// "--name value" pairs of a benchmark program's command line; everything
// after "--" is kept as a command to run.
class BenchOptions
{
public:
    BenchOptions(int argc, char* argv[]);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    std::string text(const std::string& name, const std::string& fallback) const;
    long number(const std::string& name, long fallback) const;
    double seconds(const std::string& name, double fallback) const;
    const std::vector<std::string>& command() const { return command_; }

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> command_;
    mutable std::string error_;
};
