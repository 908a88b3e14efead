#include "surfer/operations.h"

#include "core/error.h"

#include <algorithm>
#include <mutex>

namespace surfer {

namespace {
std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

const std::string* canonical(const OperationSpec& op, const std::string& given) {
    const std::string key = lower(given);
    for (const auto& n : op.names)
        if (lower(n) == key) return &n;
    for (const auto& n : op.positional6)
        if (lower(n) == key) return &n;
    return nullptr;
}

void checkRequired(const OperationSpec& op, const Args& args) {
    for (const auto& r : op.required)
        if (!args.has(r)) throw trelvik::Error(op.name + ": argument " + r + " is missing");
}

void registerBuiltinOperations(OperationRegistry& reg) {
    registerGridConvert(reg);
    registerGridBlank(reg);
    registerGridExtract(reg);
    registerGridTransform(reg);
    registerGridMath(reg);
    registerGridVolume(reg);
    registerGridSlice(reg);
    registerGridResiduals(reg);
    registerGridData(reg);
    registerGridCalculus(reg);
    registerGridFilter(reg);
    registerGridMatrixSmooth(reg);
    registerPlotCalls(reg);
}
} // namespace

void OperationRegistry::add(OperationSpec spec) {
    const std::string key = lower(spec.name);
    ops_[key] = std::move(spec);
}

const OperationSpec* OperationRegistry::find(const std::string& name) const {
    auto it = ops_.find(lower(name));
    return it == ops_.end() ? nullptr : &it->second;
}

std::vector<std::string> OperationRegistry::list() const {
    std::vector<std::string> out;
    for (const auto& [k, op] : ops_) out.push_back(op.name);
    return out;
}

Args OperationRegistry::resolve(const OperationSpec& op, const Positional& call, int version) const {
    const auto& order = (version == 6 && !op.positional6.empty()) ? op.positional6 : op.names;
    if (call.args.size() > order.size())
        throw trelvik::Error(op.name + ": " + std::to_string(call.args.size()) +
                             " arguments given, at most " + std::to_string(order.size()) + " accepted");
    std::vector<std::pair<std::string, Value>> byName;
    for (std::size_t i = 0; i < call.args.size(); ++i)
        if (!call.args[i].isOmitted()) byName.emplace_back(order[i], call.args[i]);
    Args args(op.name, std::move(byName), version == 6 ? 6 : 8);
    checkRequired(op, args);
    return args;
}

Args OperationRegistry::resolve(const OperationSpec& op, const Named& call) const {
    std::vector<std::pair<std::string, Value>> byName;
    for (const auto& [given, value] : call.args) {
        const std::string* name = canonical(op, given);
        if (!name) throw trelvik::Error(op.name + ": unknown argument " + given);
        for (const auto& [seen, v] : byName)
            if (seen == *name) throw trelvik::Error(op.name + ": argument " + given + " given twice");
        if (!value.isOmitted()) byName.emplace_back(*name, value);
    }
    Args args(op.name, std::move(byName));
    checkRequired(op, args);
    return args;
}

OperationRegistry& operations() {
    static OperationRegistry reg;
    static std::once_flag filled;
    std::call_once(filled, [] { registerBuiltinOperations(reg); });
    return reg;
}

} // namespace surfer
