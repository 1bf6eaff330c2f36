#include "MesReply.h"

#include <nlohmann/json.hpp>

namespace {
using json = nlohmann::json;

QString textOf(const json& j, const char* key) {
    auto it = j.find(key);
    return it != j.end() && it->is_string() ? QString::fromStdString(it->get<std::string>()) : QString();
}

bool flagOf(const json& j, const char* key) {
    auto it = j.find(key);
    return it != j.end() && it->is_boolean() && it->get<bool>();
}
} // namespace

MesReply MesReply::parse(const QString& body, const char* successKey, const char* timestampKey) {
    MesReply r;
    const json j = json::parse(body.toStdString(), nullptr, false);
    if (!j.is_object()) return r;
    r.object = true;
    r.message = textOf(j, "message");
    if (timestampKey) r.timestamp = textOf(j, timestampKey);
    r.success = flagOf(j, successKey);
    return r;
}
