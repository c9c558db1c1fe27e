#pragma once

// The tests' view into the screen document: its VDP, file names and mapping as variables,
// and the single-file load and the reload the viewer's steps are made of.

#include "document/screen_document.h"
#include "platform/file_stream.h"

#include <optional>
#include <string>

namespace tessarin {

class ScreenDocumentProbe {
public:
    static VdpState& vdp(ScreenDocument& doc) { return *doc.vdp_; }
    static void setFileName(ScreenDocument& doc, FileSlot slot, const std::string& name) {
        doc.files_.at(indexOf(slot)) = Location::of(name);
    }
    static VramMapping& mapping(ScreenDocument& doc) { return doc.mapping_; }
    static const VdpState& vdp(const ScreenDocument& doc) { return *doc.vdp_; }
    static const std::string& fileName(const ScreenDocument& doc, FileSlot slot) {
        return doc.files_.at(indexOf(slot)).path();
    }
    static const VramMapping& mapping(const ScreenDocument& doc) { return doc.mapping_; }

    // Opens the file as a load does; one that cannot be opened or is empty changes nothing
    // and gives false. Otherwise stores the name in the slot and loads it (a read error
    // still throws); no palette is selected.
    static bool openFile(ScreenDocument& doc, const std::string& fileName, FileSlot slot) {
        if (indexOf(slot) >= kFileSlots.size()) {
            return false;
        }
        try {
            if (InputFile(fileName).size() == 0) {
                return false;
            }
        } catch (const FileError&) {
            return false;
        }
        const Location file = Location::of(fileName);
        doc.files_[indexOf(slot)] = file;
        doc.loadFrom(slot, ScreenDocument::readChecked(file, slot, doc.mapping_));
        return true;
    }
    static void reload(ScreenDocument& doc) { doc.reload(); }
};

using Probe = ScreenDocumentProbe;

} // namespace tessarin
