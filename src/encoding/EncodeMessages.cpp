// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeMessages.h"

#include <type_traits>

namespace {

// Hands each field of a report to `field` with its name in the message: the one list that both
// writing and reading follow.
template <class Report, class Field> void EachField(Report& report, Field&& field) {
    using Type = std::remove_const_t<Report>;
    field("run", report.run);
    field("row", report.row);
    if constexpr (std::is_same_v<Type, EncodeProgressReport>) {
        field("fraction", report.fraction);
    } else if constexpr (std::is_same_v<Type, EncodeFinishedReport>) {
        field("encoded", report.outcome.encoded);
        field("stopped", report.outcome.stopped);
        field("output", report.outcome.output);
        field("reason", report.outcome.reason);
        field("status", report.outcome.status);
    } else {
        static_assert(std::is_same_v<Type, TagsWrittenReport>);
        field("warning", report.warning);
    }
}

template <class Report> kit::Message Write(uint32_t what, const Report& report) {
    kit::Message message(what);
    EachField(report,
              [&message](const char* name, const auto& value) { message.Add(name, value); });
    return message;
}

// Nothing when the message is of another kind or lacks a field.
template <class Report> std::optional<Report> Read(uint32_t what, const kit::Message& message) {
    if (message.what != what) {
        return std::nullopt;
    }
    Report report;
    bool complete = true;
    EachField(report, [&](const char* name, auto& value) {
        complete = complete && message.Find(name, &value) == kit::B_OK;
    });
    return complete ? std::optional(report) : std::nullopt;
}

} // namespace

kit::Message EncodeProgressReport::ToMessage() const {
    return Write(MSG_ENCODE_PROGRESS, *this);
}

std::optional<EncodeProgressReport> EncodeProgressReport::From(const kit::Message& message) {
    return Read<EncodeProgressReport>(MSG_ENCODE_PROGRESS, message);
}

kit::Message EncodeFinishedReport::ToMessage() const {
    return Write(MSG_ENCODE_FINISHED, *this);
}

std::optional<EncodeFinishedReport> EncodeFinishedReport::From(const kit::Message& message) {
    return Read<EncodeFinishedReport>(MSG_ENCODE_FINISHED, message);
}

kit::Message TagsWrittenReport::ToMessage() const {
    return Write(MSG_TAGS_WRITTEN, *this);
}

std::optional<TagsWrittenReport> TagsWrittenReport::From(const kit::Message& message) {
    return Read<TagsWrittenReport>(MSG_TAGS_WRITTEN, message);
}
