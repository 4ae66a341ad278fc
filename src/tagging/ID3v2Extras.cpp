// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ID3v2Extras.h"

#include <QString>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

namespace {

void PutFrontCover(TagLib::ID3v2::Tag& tag, const CoverPicture& cover) {
    using TagLib::ID3v2::AttachedPictureFrame;
    // Copied: removing a frame changes the tag's list.
    const TagLib::ID3v2::FrameList pictures = tag.frameList("APIC");
    for (TagLib::ID3v2::Frame* frame : pictures) {
        const auto* picture = dynamic_cast<AttachedPictureFrame*>(frame);
        if (picture != nullptr && picture->type() == AttachedPictureFrame::FrontCover) {
            tag.removeFrame(frame); // deletes it
        }
    }
    auto* frame = new AttachedPictureFrame;
    frame->setMimeType(TagLib::String(cover.mimeType));
    frame->setType(AttachedPictureFrame::FrontCover);
    frame->setPicture(
        TagLib::ByteVector(cover.bytes.constData(), static_cast<unsigned>(cover.bytes.size())));
    tag.addFrame(frame); // the tag owns its frames
}

void PutUserText(TagLib::ID3v2::Tag& tag, const UserText& text, bool v4) {
    using TagLib::ID3v2::UserTextIdentificationFrame;
    const QString description = QString::fromStdString(text.description);
    const TagLib::ID3v2::FrameList userTexts = tag.frameList("TXXX");
    for (TagLib::ID3v2::Frame* frame : userTexts) {
        const auto* userText = dynamic_cast<UserTextIdentificationFrame*>(frame);
        if (userText != nullptr &&
            description.compare(QString::fromStdString(userText->description().to8Bit(true)),
                                Qt::CaseInsensitive) == 0) {
            tag.removeFrame(frame);
        }
    }
    tag.addFrame(new UserTextIdentificationFrame(
        TagLib::String(text.description, TagLib::String::UTF8),
        FrameValues(text.values, v4),
        TagLib::String::UTF8));
}

} // namespace

TagLib::StringList FrameValues(const std::vector<std::string>& values, bool v4) {
    TagLib::StringList list;
    std::string joined;
    for (const std::string& value : values) {
        if (v4) {
            list.append(TagLib::String(value, TagLib::String::UTF8));
        } else {
            joined += (joined.empty() ? "" : "/") + value;
        }
    }
    if (!v4) {
        list.append(TagLib::String(joined, TagLib::String::UTF8));
    }
    return list;
}

void PutExtras(TagLib::ID3v2::Tag& tag, const ID3v2Extras& extras, bool v4) {
    if (extras.frontCover) {
        PutFrontCover(tag, *extras.frontCover);
    }
    for (const UserText& text : extras.userTexts) {
        PutUserText(tag, text, v4);
    }
}
