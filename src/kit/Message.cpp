// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Message.h"

#include <algorithm>

namespace kit {

bool Message::IsBuiltInType(uint32_t type) {
    switch (type) {
    case B_BOOL_TYPE:
    case B_INT8_TYPE:
    case B_INT16_TYPE:
    case B_INT32_TYPE:
    case B_INT64_TYPE:
    case B_FLOAT_TYPE:
    case B_DOUBLE_TYPE:
    case B_STRING_TYPE:
    case B_POINT_TYPE:
    case B_RECT_TYPE:
    case B_REF_TYPE:
    case B_MESSAGE_TYPE:
        return true;
    default:
        return false;
    }
}

Message::Field* Message::FindField(std::string_view name) {
    auto it = std::find_if(fields.begin(), fields.end(),
                           [name](const Field& field) { return field.name == name; });
    return it == fields.end() ? nullptr : &*it;
}

const Message::Field* Message::FindField(std::string_view name) const {
    return const_cast<Message*>(this)->FindField(name);
}

status_t Message::AddValue(std::string_view name, uint32_t type, Value value) {
    if (Field* field = FindField(name)) {
        if (field->type != type) {
            return B_BAD_TYPE;
        }
        field->values.push_back(std::move(value));
        return B_OK;
    }
    fields.push_back(Field{std::string(name), type, {}});
    fields.back().values.push_back(std::move(value));
    return B_OK;
}

const Message::Value* Message::FindValue(std::string_view name, uint32_t type, int32_t index,
                                         status_t* status) const {
    const Field* field = FindField(name);
    if (!field) {
        *status = B_NAME_NOT_FOUND;
        return nullptr;
    }
    if (field->type != type) {
        *status = B_BAD_TYPE;
        return nullptr;
    }
    if (index < 0 || static_cast<size_t>(index) >= field->values.size()) {
        *status = B_BAD_INDEX;
        return nullptr;
    }
    *status = B_OK;
    return &field->values[static_cast<size_t>(index)];
}

status_t Message::ReplaceValue(std::string_view name, uint32_t type, int32_t index, Value value) {
    status_t status = B_OK;
    if (!FindValue(name, type, index, &status)) {
        return status;
    }
    FindField(name)->values[static_cast<size_t>(index)] = std::move(value);
    return B_OK;
}

status_t Message::AddFlat(std::string_view name, const Flattenable& object) {
    const uint32_t type = object.TypeCode();
    if (IsBuiltInType(type)) {
        return B_BAD_TYPE;
    }
    return AddValue(name, type, Flat{type, object.Flatten()});
}

status_t Message::FindFlat(std::string_view name, int32_t index, Flattenable* object) const {
    const Field* field = FindField(name);
    if (!field) {
        return B_NAME_NOT_FOUND;
    }
    if (IsBuiltInType(field->type) || !object->AllowsTypeCode(field->type)) {
        return B_BAD_TYPE;
    }
    if (index < 0 || static_cast<size_t>(index) >= field->values.size()) {
        return B_BAD_INDEX;
    }
    const Flat& flat = std::get<Flat>(field->values[static_cast<size_t>(index)]);
    return object->Unflatten(flat.code, flat.data);
}

status_t Message::ReplaceFlat(std::string_view name, int32_t index, const Flattenable& object) {
    const uint32_t type = object.TypeCode();
    if (IsBuiltInType(type)) {
        return B_BAD_TYPE;
    }
    return ReplaceValue(name, type, index, Flat{type, object.Flatten()});
}

status_t Message::GetInfo(std::string_view name, uint32_t* type, int32_t* count) const {
    const Field* field = FindField(name);
    if (!field) {
        return B_NAME_NOT_FOUND;
    }
    *type = field->type;
    *count = static_cast<int32_t>(field->values.size());
    return B_OK;
}

bool Message::operator==(const Message& other) const {
    if (what != other.what || fields.size() != other.fields.size()) {
        return false;
    }
    for (const Field& field : fields) {
        const Field* match = other.FindField(field.name);
        if (!match || match->type != field.type || match->values.size() != field.values.size()) {
            return false;
        }
        for (size_t i = 0; i < field.values.size(); ++i) {
            const Value& a = field.values[i];
            const Value& b = match->values[i];
            const bool same = std::holds_alternative<Nested>(a)
                                  ? *std::get<Nested>(a) == *std::get<Nested>(b)
                                  : a == b;
            if (!same) {
                return false;
            }
        }
    }
    return true;
}

} // namespace kit
