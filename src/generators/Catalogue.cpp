#include "Catalogue.h"

#include "model/Assets.h"
#include "model/FontRecord.h"

namespace xilan {
namespace {

// Fonts as the definitions store them: character set 134 and, for a named
// face, the precision, quality and pitch fields its face was saved with. The
// drawing code overrides those four, so they change nothing on the screen.
QByteArray font(const Text &face, int height, int weight, bool italic = false)
{
    FontRecord r;
    r.height = height;
    r.weight = weight;
    r.italic = italic ? 255 : 0;
    r.charSet = 134;
    r.setFaceName(face.bytes());
    if (!face.isEmpty()) {
        r.outPrecision = 3;
        r.clipPrecision = 2;
        r.quality = 1;
        r.pitchAndFamily = face == u"新宋体"_t ? 49 : face == u"宋体"_t ? 2 : 34;
    }
    return r.toBytes();
}

QByteArray noFace(int height, int weight)
{
    return font({}, height, weight);
}

struct Place
{
    int left, top, width, height;
};

ControlDefinition make(const QString &name, const QString &parent, Place p, bool tabStop,
                       ControlProperties properties)
{
    return {name, parent, p.left, p.top, p.width, p.height, true, false, tabStop, 0,
            std::move(properties)};
}

ControlDefinition overlay(const char16_t *name, const char16_t *parent, Place p, const Text &text,
                          QByteArray fontRecord, Colour colour, int horzAlign, int effect = 0)
{
    TransLabelProperties o;
    o.Text = text;
    o.Font = std::move(fontRecord);
    o.TextColor = colour;
    o.HorzAlign = horzAlign;
    o.Effect = effect;
    o.VertAlign = 1;
    o.WordWrap = false;
    return make(QString::fromUtf16(name), parent ? QString::fromUtf16(parent) : QString(), p,
                false, o);
}

// Captions: raised dialog-style frame, left-aligned, default GUI font.
ControlDefinition caption(const char16_t *name, Place p, const Text &text)
{
    LabelProperties l;
    l.Text = text;
    l.Border = 2;
    l.HorzAlign = 0;
    return make(QString::fromUtf16(name), {}, p, false, l);
}

ControlDefinition input(const char16_t *name, Place p)
{
    return make(QString::fromUtf16(name), {}, p, true, EditBoxProperties{});
}

ControlDefinition picture(const char16_t *name, Place p, Bytes picture)
{
    PicBoxProperties b;
    b.Picture = picture;
    b.DisplayMode = 1; // Stretch
    return make(QString::fromUtf16(name), {}, p, false, b);
}

struct Generator
{
    WindowDefinition window;
    GeneratorDefinition generator;
};

constexpr const char16_t *InWindow = nullptr;

Generator generator(const char16_t *name, int width, int height,
                    std::vector<ControlDefinition> controls, const char16_t *picture,
                    std::initializer_list<const char16_t *> overlays,
                    std::initializer_list<const char16_t *> inputs,
                    std::initializer_list<const char16_t *> captions)
{
    Generator g;
    WindowDefinition &w = g.window;
    w.name = QString::fromUtf16(name);
    w.Title = u"头像生成器- by霁川"_t;
    w.width = width;
    w.height = height;
    w.controls = std::move(controls);

    GeneratorDefinition &d = g.generator;
    d.picture = QString::fromUtf16(picture);
    for (const char16_t *o : overlays)
        d.overlays << QString::fromUtf16(o);
    for (const char16_t *i : inputs)
        d.inputs << QString::fromUtf16(i);
    for (const char16_t *c : captions)
        d.captions << QString::fromUtf16(c);
    // Every input feeds the overlay that bears its number.
    for (const QString &i : std::as_const(d.inputs)) {
        QString overlayName = i;
        overlayName.replace(QStringLiteral("编辑框"), QStringLiteral("透明标签"));
        d.bindings.push_back({i, overlayName});
    }
    for (const TextBinding &b : d.bindings) {
        const QString windowName = w.name;
        w.events.push_back({b.input, Event::TextChanged,
                            [windowName, b](Services &s) { ApplyTextBinding(s, windowName, b); },
                            {}});
    }
    return g;
}

std::vector<Generator> build()
{
    std::vector<Generator> all;

    all.push_back(generator(u"TriangleWindow", 286, 321,
        {
            overlay(u"透明标签2", InWindow, {56, 256, 48, 32}, u"名字:"_t, {}, 0x000000, 0, 1),
            input(u"编辑框1", {112, 256, 72, 32}),
            overlay(u"透明标签1", u"图片框1", {48, 152, 160, 32}, u"霁川"_t, noFace(-37, 400),
                    0xFFFFFF, 1, 1),
            picture(u"图片框1", {8, 8, 248, 240}, assets::trianglePng()),
        },
        u"图片框1", {u"透明标签1"}, {u"编辑框1"}, {u"透明标签2"}));

    all.push_back(generator(u"BloomWindow", 295, 351,
        {
            caption(u"标签2", {0, 288, 48, 32}, u"QQ"_t),
            caption(u"标签1", {0, 248, 48, 32}, u"名字"_t),
            overlay(u"透明标签3", u"图片框2", {152, 208, 104, 24}, u"QQ517284963"_t,
                    noFace(-12, 700), 0x0000FF, 1),
            input(u"编辑框3", {56, 290, 96, 24}),
            overlay(u"透明标签2", InWindow, {131, 106, 72, 56}, u"川"_t,
                    font(u"新宋体"_t, -64, 400, true), 0x000000, 1),
            overlay(u"透明标签1", u"图片框2", {122, 31, 72, 56}, u"霁"_t,
                    font(u"微软雅黑 Light"_t, -60, 290, true), 0x000000, 1),
            picture(u"图片框2", {16, 8, 256, 232}, assets::bloomJpg()),
            overlay(u"透明标签4", u"图片框2", {328, 136, 104, 32}, u"青禾"_t, noFace(-37, 400),
                    0xFFFFFF, 0),
            input(u"编辑框2", {112, 248, 40, 24}),
            input(u"编辑框1", {56, 248, 40, 24}),
        },
        u"图片框2", {u"透明标签2", u"透明标签3", u"透明标签1", u"透明标签4"},
        {u"编辑框1", u"编辑框2", u"编辑框3"}, {u"标签2", u"标签1"}));

    all.push_back(generator(u"WhiteStripeWindow", 294, 389,
        {
            overlay(u"透明标签3", InWindow, {48, 336, 216, 16}, u"QQ看个人喜欢咯 不要就空白即可"_t,
                    {}, 0xE03058, 1),
            caption(u"标签2", {0, 297, 40, 32}, u"QQ"_t),
            caption(u"标签1", {0, 256, 40, 32}, u"名字"_t),
            input(u"编辑框2", {40, 296, 104, 32}),
            overlay(u"透明标签2", u"图片框1", {136, 144, 112, 40}, u"QQ517284963"_t,
                    font(u"宋体"_t, -12, 700), 0x0000FF, 2),
            overlay(u"透明标签1", u"图片框1", {8, 56, 248, 120}, u"霁川"_t,
                    font(u"微软雅黑"_t, -56, 700), 0x000000, 1),
            input(u"编辑框1", {40, 256, 104, 32}),
            picture(u"图片框1", {8, 8, 256, 232}, assets::whiteStripePng()),
        },
        u"图片框1", {u"透明标签2", u"透明标签1"}, {u"编辑框1", u"编辑框2"},
        {u"透明标签3", u"标签2", u"标签1"}));

    all.push_back(generator(u"SemicircleWindow", 291, 349,
        {
            overlay(u"透明标签3", u"图片框1", {56, 128, 40, 24}, u"霁川"_t, noFace(-12, 700),
                    0xFFFFFF, 1),
            overlay(u"透明标签2", InWindow, {142, 91, 60, 60}, u"川"_t, font(u"宋体"_t, -60, 700),
                    0x000000, 1),
            overlay(u"透明标签1", u"图片框1", {56, 24, 60, 60}, u"霁"_t, font(u"宋体"_t, -60, 700),
                    0x000000, 1),
            caption(u"标签2", {1, 289, 31, 24}, u"专用"_t),
            caption(u"标签1", {0, 248, 40, 24}, u"名字"_t),
            input(u"编辑框3", {40, 288, 72, 24}),
            input(u"编辑框2", {80, 248, 30, 30}),
            input(u"编辑框1", {40, 248, 30, 30}),
            picture(u"图片框1", {8, 8, 256, 232}, assets::semicirclePng()),
        },
        u"图片框1", {u"透明标签2", u"透明标签3", u"透明标签1"},
        {u"编辑框1", u"编辑框2", u"编辑框3"}, {u"标签2", u"标签1"}));

    {
        // The one caption with a sunken edge and centred text.
        ControlDefinition name = caption(u"标签1", {8, 256, 48, 40}, u"名字"_t);
        name.as<LabelProperties>().Border = 1;
        name.as<LabelProperties>().HorzAlign = 1;
        all.push_back(generator(u"AnimalWindow", 298, 348,
            {
                overlay(u"透明标签1", u"图片框1", {88, 4, 112, 44}, u"霁川"_t,
                        font(u"宋体"_t, -53, 700), 0x0000FF, 0),
                name,
                input(u"编辑框1", {64, 256, 88, 40}),
                picture(u"图片框1", {16, 8, 256, 232}, assets::animalPng()),
            },
            u"图片框1", {u"透明标签1"}, {u"编辑框1"}, {u"标签1"}));
    }

    all.push_back(generator(u"CountryNameWindow", 243, 293,
        {
            caption(u"标签2", {24, 224, 40, 24}, u"名字："_t),
            caption(u"标签1", {24, 192, 40, 24}, u"国家："_t),
            input(u"编辑框3", {66, 224, 30, 30}),
            input(u"编辑框4", {106, 224, 30, 30}),
            input(u"编辑框2", {106, 192, 30, 30}),
            input(u"编辑框1", {66, 192, 30, 30}),
            overlay(u"透明标签4", InWindow, {120, 100, 80, 72}, u"川"_t, noFace(-80, 700),
                    0xFFFFFF, 1),
            picture(u"图片框1", {8, 8, 200, 176}, assets::countryNameJpg()),
            overlay(u"透明标签3", u"图片框1", {8, 92, 88, 72}, u"霁"_t, noFace(-80, 700),
                    0xFFFFFF, 1),
            overlay(u"透明标签2", u"图片框1", {112, 8, 80, 72}, u"国"_t, noFace(-80, 700),
                    0xFFFFFF, 1),
            overlay(u"透明标签1", u"图片框1", {16, 16, 72, 56}, u"中"_t, noFace(-80, 700),
                    0xFFFFFF, 1),
        },
        u"图片框1", {u"透明标签4", u"透明标签3", u"透明标签2", u"透明标签1"},
        {u"编辑框1", u"编辑框2", u"编辑框4", u"编辑框3"}, {u"标签2", u"标签1"}));

    all.push_back(generator(u"BrandStyleWindow", 295, 352,
        {
            overlay(u"透明标签2", InWindow, {90, 144, 72, 56}, u"川"_t, noFace(-53, 400),
                    0x000000, 1),
            overlay(u"透明标签1", u"图片框1", {44, 56, 72, 64}, u"霁"_t, noFace(-53, 400),
                    0x000000, 1),
            input(u"编辑框2", {154, 280, 40, 40}),
            input(u"编辑框1", {88, 280, 40, 40}),
            picture(u"图片框1", {16, 11, 264, 253}, assets::brandStyleJpg()),
        },
        u"图片框1", {u"透明标签2", u"透明标签1"}, {u"编辑框1", u"编辑框2"}, {}));

    return all;
}

} // namespace

const std::vector<GeneratorDefinition> &Catalogue::generators()
{
    // The window definitions are built once and never move, so that the
    // generator definitions can point at them.
    static const std::vector<Generator> all = build();
    static const std::vector<GeneratorDefinition> generators = [] {
        std::vector<GeneratorDefinition> out;
        for (const Generator &g : all) {
            GeneratorDefinition d = g.generator;
            d.windowDefinition = &g.window;
            out.push_back(std::move(d));
        }
        return out;
    }();
    return generators;
}

const GeneratorDefinition *Catalogue::generator(QStringView window)
{
    for (const GeneratorDefinition &g : generators())
        if (g.windowDefinition->name == window)
            return &g;
    return nullptr;
}

std::vector<const WindowDefinition *> Catalogue::windows()
{
    std::vector<const WindowDefinition *> out;
    for (const GeneratorDefinition &g : generators())
        out.push_back(g.windowDefinition);
    return out;
}

} // namespace xilan
