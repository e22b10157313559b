#include "calc/project/files/json_layout.h"

#include <algorithm>
#include <cstddef>

namespace quorvel::project {
namespace {

void Indent(std::string& out, std::size_t depth) { out.append(2 * depth, ' '); }

bool IsNumberRow(const OrderedJson& array) {
    return std::all_of(array.begin(), array.end(),
                       [](const OrderedJson& element) { return element.is_number(); });
}

void Lay(const OrderedJson& value, std::size_t depth, std::string& out) {
    if (value.is_object() && !value.empty()) {
        out += "{\n";
        std::size_t left = value.size();
        for (const auto& [key, member] : value.items()) {
            Indent(out, depth + 1);
            out += CompactJson(OrderedJson(key));
            out += ": ";
            Lay(member, depth + 1, out);
            out += --left > 0 ? ",\n" : "\n";
        }
        Indent(out, depth);
        out += '}';
    } else if (value.is_array() && !value.empty() && !IsNumberRow(value)) {
        out += "[\n";
        std::size_t left = value.size();
        for (const OrderedJson& element : value) {
            Indent(out, depth + 1);
            Lay(element, depth + 1, out);
            out += --left > 0 ? ",\n" : "\n";
        }
        Indent(out, depth);
        out += ']';
    } else if (value.is_array() && !value.empty()) {
        out += '[';
        bool first = true;
        for (const OrderedJson& element : value) {
            if (!first) out += ", ";
            first = false;
            out += CompactJson(element);
        }
        out += ']';
    } else {
        out += CompactJson(value);  // a scalar, {} or []
    }
}

}  // namespace

std::string CompactJson(const OrderedJson& value) {
    return value.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

std::string LayoutJson(const OrderedJson& value) {
    std::string out;
    Lay(value, 0, out);
    out += '\n';
    return out;
}

}  // namespace quorvel::project
