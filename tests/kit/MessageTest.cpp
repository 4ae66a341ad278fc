// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Message.h"

#include <QCborStreamWriter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace kit;

namespace {

// A flattenable object of the tests' own: a counter stored as decimal text.
class Counter : public Flattenable {
public:
    explicit Counter(int v = 0) : value(v) {}
    uint32_t TypeCode() const override { return FourCC("CNTR"); }
    QByteArray Flatten() const override { return QByteArray::number(value); }
    status_t Unflatten(uint32_t code, QByteArrayView data) override {
        if (code != TypeCode()) {
            return B_BAD_TYPE;
        }
        bool ok = false;
        value = data.toByteArray().toInt(&ok);
        return ok ? B_OK : B_BAD_DATA;
    }
    int value;
};

Message EveryType() {
    Message nested(FourCC("nest"));
    nested.Add<std::string>("inner", "deep");
    Message m(FourCC("pref"));
    m.Add<bool>("bool", true);
    m.Add<int8_t>("int8", -128);
    m.Add<int16_t>("int16", 32767);
    m.Add<int32_t>("int32", -2147483647 - 1);
    m.Add<int64_t>("int64", INT64_MAX);
    m.Add<float>("float", 1.5f);
    m.Add<double>("double", 0.1);
    m.Add<std::string>("string", "grüße");
    m.Add<std::string>("string", "");
    m.Add<Point>("point", Point(-3.25f, 7.0f));
    m.Add<Rect>("rect", Rect(10, 20, 410, 420));
    m.Add<EntryRef>("refs", EntryRef{"/music/song.wav"});
    m.Add<Message>("message", nested);
    m.AddFlat("flat", Counter(42));
    return m;
}

} // namespace

TEST(Message, KeepsValuesByNameIndexAndType) {
    Message m(FourCC("test"));
    EXPECT_EQ(m.Add<int32_t>("n", 1), B_OK);
    EXPECT_EQ(m.Add<int32_t>("n", 2), B_OK);
    EXPECT_EQ(m.Add<int8_t>("n", 3), B_BAD_TYPE) << "a name holds one type only";

    int32_t value = 0;
    EXPECT_EQ(m.Find("n", 1, &value), B_OK);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(m.Find("n", 2, &value), B_BAD_INDEX);
    EXPECT_EQ(m.Find("missing", &value), B_NAME_NOT_FOUND);

    int8_t small = 0;
    EXPECT_EQ(m.Find("n", &small), B_BAD_TYPE) << "a field under another type is not found";

    EXPECT_EQ(m.Replace<int32_t>("n", 0, 9), B_OK);
    EXPECT_EQ(m.Find("n", &value), B_OK);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(m.Replace<int32_t>("n", 5, 9), B_BAD_INDEX);
    EXPECT_EQ(m.Replace<int8_t>("n", 0, 9), B_BAD_TYPE);

    uint32_t type = 0;
    int32_t count = 0;
    EXPECT_EQ(m.GetInfo("n", &type, &count), B_OK);
    EXPECT_EQ(type, B_INT32_TYPE);
    EXPECT_EQ(count, 2);
}

TEST(Message, FlattenablesAreMatchedByTypeCode) {
    Message m;
    EXPECT_EQ(m.AddFlat("c", Counter(7)), B_OK);
    Counter out;
    EXPECT_EQ(m.FindFlat("c", 0, &out), B_OK);
    EXPECT_EQ(out.value, 7);
    EXPECT_EQ(m.ReplaceFlat("c", 0, Counter(8)), B_OK);
    EXPECT_EQ(m.FindFlat("c", 0, &out), B_OK);
    EXPECT_EQ(out.value, 8);

    m.Add<int32_t>("i", 1);
    EXPECT_EQ(m.FindFlat("i", 0, &out), B_BAD_TYPE);
}

TEST(MessageArchive, RoundTripsEveryFieldType) {
    const Message original = EveryType();
    Message copy;
    ASSERT_EQ(copy.Unflatten(original.Flatten()), B_OK);
    EXPECT_EQ(copy, original);
    EXPECT_EQ(copy.what, FourCC("pref"));

    Rect rect;
    ASSERT_EQ(copy.Find("rect", &rect), B_OK);
    EXPECT_EQ(rect, Rect(10, 20, 410, 420));
    std::string text;
    ASSERT_EQ(copy.Find("string", 0, &text), B_OK);
    EXPECT_EQ(text, "grüße");
    Message nested;
    ASSERT_EQ(copy.Find("message", &nested), B_OK);
    ASSERT_EQ(nested.Find("inner", &text), B_OK);
    EXPECT_EQ(text, "deep");
    Counter counter;
    ASSERT_EQ(copy.FindFlat("flat", 0, &counter), B_OK);
    EXPECT_EQ(counter.value, 42);

    // Each field keeps its own type: an int8 does not come back as an int32.
    int32_t wide = 0;
    EXPECT_EQ(copy.Find("int8", &wide), B_BAD_TYPE);
}

TEST(MessageArchive, IgnoresBytesAfterTheArchive) {
    const Message original = EveryType();
    QByteArray data = original.Flatten();
    data += QByteArray("stale bytes of a longer, older archive\x00\xff\x9f", 42);
    Message copy;
    ASSERT_EQ(copy.Unflatten(data), B_OK);
    EXPECT_EQ(copy, original);
}

TEST(MessageArchive, DamagedInputGivesAnEmptyMessage) {
    const QByteArray good = EveryType().Flatten();
    std::vector<QByteArray> damaged = {
        QByteArray(),
        QByteArray("not an archive at all"),
        good.left(good.size() / 2),
        good.left(good.size() - 1),
        QByteArray(1 << 20, '\x9f'), // a million nested indefinite arrays
        // A field that claims 1.7 billion string values in a few bytes (found by fuzzing).
        QByteArray::fromHex("836b6b69742d6d6573736167651a746573748183647265667"
                            "31a525245469a685d696e64"),
    };
    QRandomGenerator random(1234);
    for (int i = 0; i < 200; ++i) {
        QByteArray noise(static_cast<qsizetype>(random.bounded(1, 300)), '\0');
        for (char& c : noise) {
            c = static_cast<char>(random.bounded(256));
        }
        damaged.push_back(noise);
        QByteArray flipped = good;
        flipped[random.bounded(static_cast<int>(good.size()))] ^=
            static_cast<char>(1 << random.bounded(8));
        damaged.push_back(flipped);
    }
    for (const QByteArray& data : damaged) {
        Message m;
        m.Add<int32_t>("old", 1);
        if (m.Unflatten(data) != B_OK) {
            EXPECT_TRUE(m.IsEmpty());
        }
    }
}

TEST(MessageArchive, RefusesForeignAndOutOfRangeValues) {
    auto archive = [](auto writeValue, uint32_t type) {
        QByteArray data;
        QCborStreamWriter w(&data);
        w.startArray(3);
        w.append(QStringLiteral("kit-message"));
        w.append(quint64(1));
        w.startArray(1);
        w.startArray(3);
        w.append(QStringLiteral("x"));
        w.append(quint64(type));
        w.startArray(1);
        writeValue(w);
        w.endArray();
        w.endArray();
        w.endArray();
        w.endArray();
        return data;
    };
    Message m;
    EXPECT_EQ(
        m.Unflatten(archive([](QCborStreamWriter& w) { w.append(qint64(128)); }, B_INT8_TYPE)),
        B_BAD_DATA);
    EXPECT_EQ(
        m.Unflatten(archive([](QCborStreamWriter& w) { w.append(qint64(-129)); }, B_INT8_TYPE)),
        B_BAD_DATA);
    EXPECT_EQ(m.Unflatten(archive([](QCborStreamWriter& w) { w.append(QStringLiteral("7")); },
                                  B_INT32_TYPE)),
              B_BAD_DATA);
    EXPECT_EQ(
        m.Unflatten(archive([](QCborStreamWriter& w) { w.append(qint64(-128)); }, B_INT8_TYPE)),
        B_OK);
    int8_t v = 0;
    EXPECT_EQ(m.Find("x", &v), B_OK);
    EXPECT_EQ(v, -128);
}
