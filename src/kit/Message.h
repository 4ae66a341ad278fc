// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/FourCC.h"
#include "kit/Geometry.h"
#include "kit/Status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kit {

// Type codes of the values a message holds.
inline constexpr uint32_t B_BOOL_TYPE = FourCC("BOOL");
inline constexpr uint32_t B_INT8_TYPE = FourCC("BYTE");
inline constexpr uint32_t B_INT16_TYPE = FourCC("SHRT");
inline constexpr uint32_t B_INT32_TYPE = FourCC("LONG");
inline constexpr uint32_t B_INT64_TYPE = FourCC("LLNG");
inline constexpr uint32_t B_FLOAT_TYPE = FourCC("FLOT");
inline constexpr uint32_t B_DOUBLE_TYPE = FourCC("DBLE");
inline constexpr uint32_t B_STRING_TYPE = FourCC("CSTR");
inline constexpr uint32_t B_POINT_TYPE = FourCC("BPNT");
inline constexpr uint32_t B_RECT_TYPE = FourCC("RECT");
inline constexpr uint32_t B_REF_TYPE = FourCC("RREF");
inline constexpr uint32_t B_MESSAGE_TYPE = FourCC("MSGG");

// A reference to a file or folder, as drops and file choosers hand them over.
struct EntryRef {
    std::filesystem::path path;
    bool operator==(const EntryRef&) const = default;
};

// An object that can store itself in a message as a byte string under its own type code.
class Flattenable {
public:
    virtual ~Flattenable() = default;
    virtual uint32_t TypeCode() const = 0;
    virtual bool AllowsTypeCode(uint32_t code) const { return code == TypeCode(); }
    virtual QByteArray Flatten() const = 0;
    virtual status_t Unflatten(uint32_t code, QByteArrayView data) = 0;
};

class Message;

// A message: a four-character command code and named fields. A name holds one or more values of
// one type only; values are found by name and index. The archive form (Flatten) is a CBOR item
// that records every field's type and delimits itself, so that Unflatten ignores bytes after it.
class Message {
public:
    explicit Message(uint32_t command = 0) : what(command) {}

    uint32_t what;

    template <class T> status_t Add(std::string_view name, const T& value);
    template <class T> status_t Find(std::string_view name, int32_t index, T* value) const;
    template <class T> status_t Find(std::string_view name, T* value) const {
        return Find(name, 0, value);
    }
    template <class T> status_t Replace(std::string_view name, int32_t index, const T& value);
    template <class T> bool Has(std::string_view name, int32_t index = 0) const {
        T ignored{};
        return Find(name, index, &ignored) == B_OK;
    }

    status_t AddFlat(std::string_view name, const Flattenable& object);
    status_t FindFlat(std::string_view name, int32_t index, Flattenable* object) const;
    status_t ReplaceFlat(std::string_view name, int32_t index, const Flattenable& object);

    // The type and number of values of a name; B_NAME_NOT_FOUND when there is none.
    status_t GetInfo(std::string_view name, uint32_t* type, int32_t* count) const;
    int32_t CountNames() const { return static_cast<int32_t>(fields.size()); }
    bool IsEmpty() const { return fields.empty(); }
    void MakeEmpty() { fields.clear(); }

    QByteArray Flatten() const;
    // Reads a message archive from the start of the data; bytes after it are ignored. On failure
    // the message is left without fields and a failure status is returned.
    status_t Unflatten(QByteArrayView data);

    bool operator==(const Message& other) const;

private:
    struct Flat {
        uint32_t code;
        QByteArray data;
        bool operator==(const Flat&) const = default;
    };
    // Nested messages are immutable once stored, so copies of a message can share them.
    using Nested = std::shared_ptr<const Message>;
    using Value = std::variant<bool, int8_t, int16_t, int32_t, int64_t, float, double, std::string,
                               Point, Rect, EntryRef, Nested, Flat>;
    struct Field {
        std::string name;
        uint32_t type;
        std::vector<Value> values;
    };

    template <class T> static constexpr uint32_t TypeOf();
    static bool IsBuiltInType(uint32_t type);

    Field* FindField(std::string_view name);
    const Field* FindField(std::string_view name) const;
    status_t AddValue(std::string_view name, uint32_t type, Value value);
    const Value* FindValue(std::string_view name, uint32_t type, int32_t index,
                           status_t* status) const;
    status_t ReplaceValue(std::string_view name, uint32_t type, int32_t index, Value value);

    friend class MessageArchive;

    std::vector<Field> fields;
};

template <class T> constexpr uint32_t Message::TypeOf() {
    if constexpr (std::is_same_v<T, bool>) {
        return B_BOOL_TYPE;
    } else if constexpr (std::is_same_v<T, int8_t>) {
        return B_INT8_TYPE;
    } else if constexpr (std::is_same_v<T, int16_t>) {
        return B_INT16_TYPE;
    } else if constexpr (std::is_same_v<T, int32_t>) {
        return B_INT32_TYPE;
    } else if constexpr (std::is_same_v<T, int64_t>) {
        return B_INT64_TYPE;
    } else if constexpr (std::is_same_v<T, float>) {
        return B_FLOAT_TYPE;
    } else if constexpr (std::is_same_v<T, double>) {
        return B_DOUBLE_TYPE;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return B_STRING_TYPE;
    } else if constexpr (std::is_same_v<T, Point>) {
        return B_POINT_TYPE;
    } else if constexpr (std::is_same_v<T, Rect>) {
        return B_RECT_TYPE;
    } else if constexpr (std::is_same_v<T, EntryRef>) {
        return B_REF_TYPE;
    } else {
        static_assert(std::is_same_v<T, Message>, "not a type a message can hold");
        return B_MESSAGE_TYPE;
    }
}

template <class T> status_t Message::Add(std::string_view name, const T& value) {
    if constexpr (std::is_same_v<T, Message>) {
        return AddValue(name, B_MESSAGE_TYPE, std::make_shared<const Message>(value));
    } else {
        return AddValue(name, TypeOf<T>(), value);
    }
}

template <class T> status_t Message::Find(std::string_view name, int32_t index, T* value) const {
    status_t status = B_OK;
    const Value* found = FindValue(name, TypeOf<T>(), index, &status);
    if (!found) {
        return status;
    }
    if constexpr (std::is_same_v<T, Message>) {
        *value = *std::get<Nested>(*found);
    } else {
        *value = std::get<T>(*found);
    }
    return B_OK;
}

template <class T> status_t Message::Replace(std::string_view name, int32_t index, const T& value) {
    if constexpr (std::is_same_v<T, Message>) {
        return ReplaceValue(name, B_MESSAGE_TYPE, index, std::make_shared<const Message>(value));
    } else {
        return ReplaceValue(name, TypeOf<T>(), index, value);
    }
}

} // namespace kit
