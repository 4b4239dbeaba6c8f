#pragma once
// The parts of a view record: the common part (name, position, flags, frame lines, format,
// memo, scripts, tag) and the class part of each view class, in templates and in prepared
// page streams. One reader and one writer function per part.
#include <cstdint>

namespace kestrane::report {

class TRMStreamReader;
class TRMStreamWriter;
class TRMView;
class TRMMemoView;
class TRMBandView;
class TRMCalcMemoView;
struct TRMPicture;

class TRMViewStream {
public:
    enum Mode { Template, Prepared };

    // Record and class versions the writer writes.
    static constexpr int kRecordVersion = 10;
    static constexpr int kMemoClassVersion = 12;

    // Reads the common and class parts of a view of stream version v.
    static void readView(TRMStreamReader& r, TRMView& view, int v, Mode mode);
    // Writes them in the current version.
    static void writeView(TRMStreamWriter& w, const TRMView& view, Mode mode);

    // A picture: graphic kind, option byte (picture views only), absolute end position,
    // the graphic's bytes.
    static void readPicture(TRMStreamReader& r, TRMPicture& picture, int* option);
    static void writePicture(TRMStreamWriter& w, const TRMPicture& picture, const int* option);

    // The class version (r2) the writer uses for a view.
    static int classVersionOf(const TRMView& view);

private:
    struct Versions {
        int v = 0;
        int r1 = 0;
        int r2 = 0;
        int combined() const { return v * 100 + r1 * 10 + r2; }
    };
    static Versions readCommon(TRMStreamReader& r, TRMView& view, int v, Mode mode);
    static void readOldCommon(TRMStreamReader& r, TRMView& view, int v, Mode mode);
    static void readOldFrame(TRMStreamReader& r, TRMView& view, uint16_t frameType, double width,
                             int32_t color, uint16_t style);
    static void readMemoPart(TRMStreamReader& r, TRMMemoView& memo, const Versions& ver, Mode mode);
    static void readBandPart(TRMStreamReader& r, TRMBandView& band, const Versions& ver);
    static void readCalcPart(TRMStreamReader& r, TRMCalcMemoView& calc, const Versions& ver);
    static void readClassPart(TRMStreamReader& r, TRMView& view, const Versions& ver, Mode mode);

    static void writeCommon(TRMStreamWriter& w, const TRMView& view, Mode mode);
    static void writeMemoPart(TRMStreamWriter& w, const TRMMemoView& memo, Mode mode);
    static void writeBandPart(TRMStreamWriter& w, const TRMBandView& band);
    static void writeCalcPart(TRMStreamWriter& w, const TRMCalcMemoView& calc);
    static void writeClassPart(TRMStreamWriter& w, const TRMView& view, Mode mode);
};

} // namespace kestrane::report
