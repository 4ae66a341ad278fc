// SPDX-License-Identifier: GPL-3.0-or-later
// The archive form of a message: one CBOR array
//   [ "kit-message", what, [ [name, type, [value, ...]], ... ] ]
// Integers are CBOR integers (range-checked when read back), floats single precision, doubles
// double precision, strings and file paths text strings, points and rectangles arrays of two and
// four floats, nested messages the same array again, flattened objects byte strings.
#include "kit/Message.h"

#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <limits>

namespace kit {

namespace {

const QString kMagic = QStringLiteral("kit-message");
// Deeper nesting than this is treated as damage rather than risking the reader's stack.
constexpr int kMaxDepth = 32;

// Reads a whole text or byte string, which CBOR may deliver in chunks.
template <class T>
bool ReadChunks(QCborStreamReader& reader,
                QCborStreamReader::StringResult<T> (QCborStreamReader::*readChunk)(), T* out) {
    out->clear();
    auto chunk = (reader.*readChunk)();
    while (chunk.status == QCborStreamReader::Ok) {
        *out += chunk.data;
        chunk = (reader.*readChunk)();
    }
    return chunk.status == QCborStreamReader::EndOfString;
}

bool ReadText(QCborStreamReader& reader, QString* text) {
    return reader.isString() && ReadChunks(reader, &QCborStreamReader::readString, text);
}

bool ReadBytes(QCborStreamReader& reader, QByteArray* bytes) {
    return reader.isByteArray() && ReadChunks(reader, &QCborStreamReader::readByteArray, bytes);
}

template <class Int> bool ReadInteger(QCborStreamReader& reader, Int* value) {
    constexpr auto max = static_cast<quint64>(std::numeric_limits<Int>::max());
    if (reader.isUnsignedInteger()) {
        const quint64 magnitude = reader.toUnsignedInteger();
        if (magnitude > max) {
            return false;
        }
        *value = static_cast<Int>(magnitude);
    } else if (reader.isNegativeInteger()) {
        // The magnitude of -2^64 wraps to 0.
        const auto magnitude = static_cast<quint64>(reader.toNegativeInteger());
        if constexpr (std::is_unsigned_v<Int>) {
            return false;
        } else {
            if (magnitude == 0 || magnitude > max + 1) {
                return false;
            }
            *value = magnitude == max + 1 ? std::numeric_limits<Int>::min()
                                          : static_cast<Int>(-static_cast<qint64>(magnitude));
        }
    } else {
        return false;
    }
    return reader.next();
}

bool ReadFloat(QCborStreamReader& reader, float* value) {
    if (!reader.isFloat()) {
        return false;
    }
    *value = reader.toFloat();
    return reader.next();
}

bool ReadDouble(QCborStreamReader& reader, double* value) {
    if (!reader.isDouble()) {
        return false;
    }
    *value = reader.toDouble();
    return reader.next();
}

// Reads a definite-length array of exactly `count` floats.
bool ReadFloats(QCborStreamReader& reader, float* values, qsizetype count) {
    if (!reader.isArray() || !reader.isLengthKnown() ||
        reader.length() != static_cast<quint64>(count) || !reader.enterContainer()) {
        return false;
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (!ReadFloat(reader, &values[i])) {
            return false;
        }
    }
    return !reader.hasNext() && reader.leaveContainer();
}

} // namespace

class MessageArchive {
public:
    static void Write(QCborStreamWriter& writer, const Message& message) {
        writer.startArray(3);
        writer.append(kMagic);
        writer.append(static_cast<quint64>(message.what));
        writer.startArray(static_cast<quint64>(message.fields.size()));
        for (const Message::Field& field : message.fields) {
            writer.startArray(3);
            writer.append(QString::fromStdString(field.name));
            writer.append(static_cast<quint64>(field.type));
            writer.startArray(static_cast<quint64>(field.values.size()));
            for (const Message::Value& value : field.values) {
                WriteValue(writer, value);
            }
            writer.endArray();
            writer.endArray();
        }
        writer.endArray();
        writer.endArray();
    }

    static bool Read(QCborStreamReader& reader, Message* message, int depth) {
        if (depth > kMaxDepth || !reader.isArray() || !reader.enterContainer()) {
            return false;
        }
        QString magic;
        quint32 what = 0;
        if (!ReadText(reader, &magic) || magic != kMagic || !ReadInteger(reader, &what)) {
            return false;
        }
        if (!reader.isArray() || !reader.enterContainer()) {
            return false;
        }
        while (reader.hasNext()) {
            if (!ReadField(reader, message, depth) || reader.lastError() != QCborError::NoError) {
                return false;
            }
        }
        if (!reader.leaveContainer() || reader.hasNext() || !reader.leaveContainer()) {
            return false;
        }
        message->what = what;
        return true;
    }

private:
    static void WriteValue(QCborStreamWriter& writer, const Message::Value& value) {
        std::visit(
            [&writer](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, bool>) {
                    writer.append(v);
                } else if constexpr (std::is_integral_v<T>) {
                    writer.append(static_cast<qint64>(v));
                } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
                    writer.append(v);
                } else if constexpr (std::is_same_v<T, std::string>) {
                    writer.appendTextString(v.data(), static_cast<qsizetype>(v.size()));
                } else if constexpr (std::is_same_v<T, Point>) {
                    writer.startArray(2);
                    writer.append(v.x);
                    writer.append(v.y);
                    writer.endArray();
                } else if constexpr (std::is_same_v<T, Rect>) {
                    writer.startArray(4);
                    writer.append(v.left);
                    writer.append(v.top);
                    writer.append(v.right);
                    writer.append(v.bottom);
                    writer.endArray();
                } else if constexpr (std::is_same_v<T, EntryRef>) {
                    writer.append(QString::fromStdString(v.path.string()));
                } else if constexpr (std::is_same_v<T, Message::Nested>) {
                    Write(writer, *v);
                } else {
                    writer.append(v.data);
                }
            },
            value);
    }

    static bool ReadField(QCborStreamReader& reader, Message* message, int depth) {
        if (!reader.isArray() || !reader.enterContainer()) {
            return false;
        }
        QString name;
        quint32 type = 0;
        if (!ReadText(reader, &name) || !ReadInteger(reader, &type)) {
            return false;
        }
        if (!reader.isArray() || !reader.enterContainer()) {
            return false;
        }
        const std::string fieldName = name.toStdString();
        // Names are unique within an archive: a second field of the same name is damage.
        if (message->FindField(fieldName)) {
            return false;
        }
        message->fields.push_back(Message::Field{fieldName, type, {}});
        bool any = false;
        while (reader.hasNext()) {
            Message::Value value;
            // A reader past the end of its data may keep answering with empty values; the error
            // state is what tells.
            if (!ReadValue(reader, type, &value, depth) ||
                reader.lastError() != QCborError::NoError) {
                return false;
            }
            message->fields.back().values.push_back(std::move(value));
            any = true;
        }
        // A field always holds at least one value; the writer never produces an empty one.
        return any && reader.leaveContainer() && !reader.hasNext() && reader.leaveContainer();
    }

    static bool ReadValue(QCborStreamReader& reader, uint32_t type, Message::Value* value,
                          int depth) {
        switch (type) {
        case B_BOOL_TYPE: {
            if (!reader.isBool()) {
                return false;
            }
            *value = reader.toBool();
            return reader.next();
        }
        case B_INT8_TYPE:
            return ReadInto<int8_t>(reader, value);
        case B_INT16_TYPE:
            return ReadInto<int16_t>(reader, value);
        case B_INT32_TYPE:
            return ReadInto<int32_t>(reader, value);
        case B_INT64_TYPE:
            return ReadInto<int64_t>(reader, value);
        case B_FLOAT_TYPE: {
            float f = 0;
            if (!ReadFloat(reader, &f)) {
                return false;
            }
            *value = f;
            return true;
        }
        case B_DOUBLE_TYPE: {
            double d = 0;
            if (!ReadDouble(reader, &d)) {
                return false;
            }
            *value = d;
            return true;
        }
        case B_STRING_TYPE:
        case B_REF_TYPE: {
            QString text;
            if (!ReadText(reader, &text)) {
                return false;
            }
            if (type == B_STRING_TYPE) {
                *value = text.toStdString();
            } else {
                *value = EntryRef{std::filesystem::path(text.toStdString())};
            }
            return true;
        }
        case B_POINT_TYPE: {
            float xy[2];
            if (!ReadFloats(reader, xy, 2)) {
                return false;
            }
            *value = Point(xy[0], xy[1]);
            return true;
        }
        case B_RECT_TYPE: {
            float ltrb[4];
            if (!ReadFloats(reader, ltrb, 4)) {
                return false;
            }
            *value = Rect(ltrb[0], ltrb[1], ltrb[2], ltrb[3]);
            return true;
        }
        case B_MESSAGE_TYPE: {
            auto nested = std::make_shared<Message>();
            if (!Read(reader, nested.get(), depth + 1)) {
                return false;
            }
            *value = Message::Nested(std::move(nested));
            return true;
        }
        default: {
            QByteArray bytes;
            if (!ReadBytes(reader, &bytes)) {
                return false;
            }
            *value = Message::Flat{type, bytes};
            return true;
        }
        }
    }

    template <class Int> static bool ReadInto(QCborStreamReader& reader, Message::Value* value) {
        Int v = 0;
        if (!ReadInteger(reader, &v)) {
            return false;
        }
        *value = v;
        return true;
    }
};

QByteArray Message::Flatten() const {
    QByteArray data;
    QCborStreamWriter writer(&data);
    MessageArchive::Write(writer, *this);
    return data;
}

status_t Message::Unflatten(QByteArrayView data) {
    fields.clear();
    QCborStreamReader reader(reinterpret_cast<const quint8*>(data.data()), data.size());
    Message read;
    if (!MessageArchive::Read(reader, &read, 0) || reader.lastError() != QCborError::NoError) {
        return B_BAD_DATA;
    }
    *this = std::move(read);
    return B_OK;
}

} // namespace kit
