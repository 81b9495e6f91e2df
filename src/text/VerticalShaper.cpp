#include "text/VerticalShaper.h"

#include <hb.h>

#include <QByteArray>

#include <cmath>

namespace sorvel {

namespace {

// HarfBuzz positions are kept in 1/64 pixel.
constexpr double subpixels = 64.0;

struct TableSource {
    QRawFont font;
};

hb_blob_t* referenceTable(hb_face_t*, hb_tag_t tag, void* userData)
{
    const auto* source = static_cast<const TableSource*>(userData);
    const char name[5] = {static_cast<char>((tag >> 24) & 0xFF), static_cast<char>((tag >> 16) & 0xFF),
                          static_cast<char>((tag >> 8) & 0xFF), static_cast<char>(tag & 0xFF), 0};
    auto* table = new QByteArray(source->font.fontTable(name));
    if (table->isEmpty()) {
        delete table;
        return nullptr;
    }
    return hb_blob_create(table->constData(), static_cast<unsigned>(table->size()), HB_MEMORY_MODE_READONLY, table,
                          [](void* data) { delete static_cast<QByteArray*>(data); });
}

// Where a glyph's vertical origin lies, from the vertical metrics and the glyph's own box as the
// font engine gives it: what HarfBuzz would find in the glyph outlines, without reading every
// outline of the font (a copy of several megabytes for a CJK font, on every start).
struct VerticalOrigins {
    QRawFont font;
    QByteArray vmtx;
    unsigned longMetrics = 0;
    double unitsToPixels = 0;

    int topSideBearing(hb_codepoint_t glyph) const
    {
        const auto at = [this](qsizetype offset) {
            if (offset < 0 || offset + 2 > vmtx.size())
                return 0;
            const auto* bytes = reinterpret_cast<const uchar*>(vmtx.constData()) + offset;
            return static_cast<int>(static_cast<qint16>(static_cast<quint16>((bytes[0] << 8) | bytes[1])));
        };
        if (glyph < longMetrics)
            return at(static_cast<qsizetype>(glyph) * 4 + 2);
        return at(static_cast<qsizetype>(longMetrics) * 4 + static_cast<qsizetype>(glyph - longMetrics) * 2);
    }
};

hb_bool_t verticalOrigin(hb_font_t* font, void*, hb_codepoint_t glyph, hb_position_t* x, hb_position_t* y,
                         void* userData)
{
    const auto* origins = static_cast<const VerticalOrigins*>(userData);
    *x = hb_font_get_glyph_h_advance(font, glyph) / 2;
    const double top = -origins->font.boundingRect(glyph).top();
    *y = static_cast<hb_position_t>(
        std::lround((origins->topSideBearing(glyph) * origins->unitsToPixels + top) * subpixels));
    return true;
}

quint16 bigEndian16(const QByteArray& table, qsizetype offset)
{
    if (offset + 2 > table.size())
        return 0;
    const auto* bytes = reinterpret_cast<const uchar*>(table.constData()) + offset;
    return static_cast<quint16>((bytes[0] << 8) | bytes[1]);
}

} // namespace

struct VerticalShaper::Handles {
    hb_face_t* face = nullptr;
    hb_font_t* parent = nullptr;
    hb_font_t* font = nullptr;
    hb_font_funcs_t* funcs = nullptr;
    VerticalOrigins origins;
    hb_buffer_t* buffer = nullptr;
    hb_language_t japanese = nullptr;

    ~Handles()
    {
        hb_buffer_destroy(buffer);
        hb_font_destroy(font);
        hb_font_destroy(parent);
        hb_font_funcs_destroy(funcs);
        hb_face_destroy(face);
    }
};

VerticalShaper::VerticalShaper(const QRawFont& font) : m_rawFont(font), m_hb(std::make_unique<Handles>())
{
    auto* source = new TableSource{font};
    m_hb->face =
        hb_face_create_for_tables(referenceTable, source, [](void* data) { delete static_cast<TableSource*>(data); });
    m_hb->parent = hb_font_create(m_hb->face);
    const int scale = static_cast<int>(std::lround(font.pixelSize() * subpixels));
    hb_font_set_scale(m_hb->parent, scale, scale);
    m_hb->font = hb_font_create_sub_font(m_hb->parent);
    // Fonts with vertical metrics but no table of vertical origins (TrueType CJK fonts): the
    // origins from the metrics and the engine's glyph boxes.
    VerticalOrigins& origins = m_hb->origins;
    origins.vmtx = font.fontTable("vmtx");
    origins.longMetrics = bigEndian16(font.fontTable("vhea"), 34);
    const unsigned upem = hb_face_get_upem(m_hb->face);
    if (!origins.vmtx.isEmpty() && origins.longMetrics > 0 && upem > 0 && font.fontTable("VORG").isEmpty()) {
        origins.font = font;
        origins.unitsToPixels = font.pixelSize() / upem;
        m_hb->funcs = hb_font_funcs_create();
        hb_font_funcs_set_glyph_v_origin_func(m_hb->funcs, verticalOrigin, &origins, nullptr);
        hb_font_funcs_make_immutable(m_hb->funcs);
        hb_font_set_funcs(m_hb->font, m_hb->funcs, nullptr, nullptr);
    }
    m_hb->buffer = hb_buffer_create();
    m_hb->japanese = hb_language_from_string("ja", -1);
    m_em = font.pixelSize();
    hb_font_extents_t extents{};
    if (hb_font_get_h_extents(m_hb->font, &extents) && extents.ascender > extents.descender) {
        m_ascent = extents.ascender / subpixels;
        m_descent = -extents.descender / subpixels;
    } else {
        m_ascent = m_em * 0.88;
        m_descent = m_em * 0.12;
    }
}

VerticalShaper::~VerticalShaper() = default;

std::shared_ptr<const VerticalShaper> VerticalShaper::of(const QRawFont& font)
{
    // A few fonts a thread: the chosen one and the fallbacks its text needs.
    thread_local std::vector<std::shared_ptr<const VerticalShaper>> recent;
    for (const auto& shaper : recent) {
        if (shaper->m_rawFont == font)
            return shaper;
    }
    auto shaper = std::make_shared<const VerticalShaper>(font);
    if (recent.size() >= 8)
        recent.erase(recent.begin());
    recent.push_back(shaper);
    return shaper;
}

ShapedRun VerticalShaper::shape(QStringView text, qsizetype start, qsizetype length, bool vertical) const
{
    ShapedRun run;
    if (length <= 0)
        return run;
    hb_buffer_t* buffer = m_hb->buffer;
    hb_buffer_reset(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.utf16()), static_cast<int>(text.size()),
                        static_cast<unsigned>(start), static_cast<int>(length));
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, vertical ? HB_DIRECTION_TTB : HB_DIRECTION_LTR);
    hb_buffer_set_language(buffer, m_hb->japanese);
    hb_shape(m_hb->font, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, nullptr);
    run.glyphs.reserve(count);
    double pen = 0;
    for (unsigned i = 0; i < count; ++i) {
        const hb_glyph_position_t& p = positions[i];
        ShapedGlyph glyph;
        glyph.glyph = infos[i].codepoint;
        glyph.cluster = static_cast<int>(infos[i].cluster);
        glyph.pen = pen;
        glyph.offset = QPointF(p.x_offset / subpixels, -p.y_offset / subpixels);
        pen += vertical ? -p.y_advance / subpixels : p.x_advance / subpixels;
        run.glyphs.push_back(glyph);
    }
    run.advance = pen;
    return run;
}

} // namespace sorvel
