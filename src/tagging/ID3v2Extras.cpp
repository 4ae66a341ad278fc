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

void PutUserText(TagLib::ID3v2::Tag& tag, const UserText& text) {
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
        TagLib::StringList(TagLib::String(text.value, TagLib::String::UTF8)),
        TagLib::String::UTF8));
}

} // namespace

void PutExtras(TagLib::ID3v2::Tag& tag, const ID3v2Extras& extras) {
    if (extras.frontCover) {
        PutFrontCover(tag, *extras.frontCover);
    }
    for (const UserText& text : extras.userTexts) {
        PutUserText(tag, text);
    }
}
