#include "archive/series_table.h"

#include <QStringList>
#include <algorithm>
#include <array>

#include "archive/series_texts.h"

namespace archive {

namespace {

constexpr double kRowMm = 5;  // a row of the table at most
constexpr double kPadMm = 1;  // between a cell's text and its neighbours
const QColor kHeaderFill(230, 230, 230);
constexpr double kValueShare = 0.22;  // of the figures' width, each of their two columns

struct TColumn {
    const char* title;  // UTF-8, its lines as in the header
    double share;       // of the table's width
    Qt::Alignment align;
};

constexpr std::array<TColumn, 9> kColumns = {{
    {"№", 0.03, Qt::AlignRight},
    {"Испытание", 0.16, Qt::AlignLeft},
    {"Маркировка", 0.11, Qt::AlignLeft},
    {"Тип (форма)", 0.11, Qt::AlignLeft},
    {"Дата", 0.08, Qt::AlignLeft},
    {"Площадь,\nмм.кв", 0.07, Qt::AlignRight},
    {"F max,\nкН", 0.07, Qt::AlignRight},
    {"R max,\nН/мм.кв", 0.08, Qt::AlignRight},
    {"Учёт", 0.29, Qt::AlignLeft},
}};

QStringList RowTexts(size_t index, const TSeriesSpecimen& specimen, bool marked) {
    return {QString::number(index + 1) + (marked ? QStringLiteral("*") : QString()),
            specimen.testName,
            specimen.marking,
            specimen.type,
            specimen.dateText,
            specimen.areaText,
            ForceText(specimen),
            StrengthText(specimen),
            StandingText(specimen)};
}

// The cells of one row, each inside its column with a pad on either side.
template <class DrawCell>
void ForEachCell(const QRectF& row, DrawCell draw, double pad) {
    double left = row.left();
    for (size_t column = 0; column < kColumns.size(); ++column) {
        const double width = row.width() * kColumns[column].share;
        draw(column, QRectF(left + pad, row.top(), width - 2 * pad, row.height()));
        left += width;
    }
}

}  // namespace

double DrawSpecimenTable(TPageText& page, const QRectF& area, const TSeriesReport& report,
                         const TSeriesResult& result) {
    const std::vector<TSeriesSpecimen>& specimens = report.specimens;
    const bool best =
        report.rule.kind == TSeriesRule::TKind::kBest &&
        std::count(result.inSeriesStrength.begin(), result.inSeriesStrength.end(), true) > 0;
    const bool fileTrouble =
        std::any_of(specimens.begin(), specimens.end(),
                    [](const TSeriesSpecimen& s) { return s.file != TSpecimenFile::kIntact; });
    const double lines = double(specimens.size()) + 2 + best + fileTrouble;  // header: two
    const double row = std::min(page.Mm(kRowMm), area.height() / lines);
    const double pad = page.Mm(kPadMm);

    const QRectF header(area.left(), area.top(), area.width(), 2 * row);
    page.Fill(header, kHeaderFill);
    page.SetFont(kTableFamily, row, true);
    ForEachCell(
        header,
        [&](size_t column, const QRectF& cell) {
            page.DrawWrapped(cell, Qt::AlignHCenter | Qt::AlignVCenter,
                             QString::fromUtf8(kColumns[column].title));
        },
        pad);
    page.Rule(area.left(), area.right(), header.top());
    page.Rule(area.left(), area.right(), header.bottom());

    QRectF line(area.left(), header.bottom(), area.width(), row);
    for (size_t i = 0; i < specimens.size(); ++i) {
        const QStringList cells = RowTexts(i, specimens[i], best && result.inSeriesStrength[i]);
        page.SetFont(kTableFamily, row, false, !result.counted[i]);
        ForEachCell(
            line,
            [&](size_t column, const QRectF& cell) {
                page.Draw(cell, kColumns[column].align, cells[qsizetype(column)]);
            },
            pad);
        line.translate(0, row);
    }
    page.Rule(area.left(), area.right(), line.top());

    page.SetFont(kTableFamily, row, false);
    if (best) {
        page.Draw(line, Qt::AlignLeft,
                  QStringLiteral("* — входит в k наибольших, по которым определена прочность "
                                 "серии"));
        line.translate(0, row);
    }
    if (fileTrouble) {
        page.Draw(line, Qt::AlignLeft,
                  QStringLiteral("Внимание: файлы отмеченных испытаний не найдены или изменены "
                                 "после архивации; эти образцы в расчёт не входят."));
        line.translate(0, row);
    }
    return line.top();
}

void DrawFigures(TPageText& page, const QRectF& area, const TSeriesRule& rule,
                 const TSeriesResult& result) {
    const double line = page.Mm(kLineMm);
    const TFigures& r = result.strength;
    const TFigures& f = result.force;
    const bool any = r.n > 0;
    const auto three = [any](double value) {
        return any ? FormatThree(value) : QStringLiteral("-");
    };
    QRectF row(area.left(), area.top(), area.width(), line);
    const double column = area.width() * kValueShare;
    const auto put = [&](const QString& label, const QString& strength, const QString& force) {
        page.Draw(row.adjusted(0, 0, -2 * column, 0), Qt::AlignLeft, label);
        page.Draw(row.adjusted(area.width() - 2 * column, 0, -column, 0), Qt::AlignRight, strength);
        page.Draw(row.adjusted(area.width() - column, 0, 0, 0), Qt::AlignRight, force);
        row.translate(0, line);
    };
    page.SetFont(kTableFamily, line, true);
    // The titles of the value columns on two lines, under the block's title.
    const QRectF titles = row.adjusted(0, 0, 0, line);
    page.Draw(row, Qt::AlignLeft, QStringLiteral("Результаты серии"));
    page.DrawWrapped(titles.adjusted(area.width() - 2 * column, 0, -column, 0),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("R max,\nН/мм.кв"));
    page.DrawWrapped(titles.adjusted(area.width() - column, 0, 0, 0),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("F max,\nкН"));
    row.translate(0, titles.height());
    page.Rule(area.left(), area.right(), row.top());
    page.SetFont(kTableFamily, line, false);
    put(QStringLiteral("Учтено образцов n"), QString::number(r.n), QString::number(f.n));
    put(QStringLiteral("Среднее"), three(r.mean), three(f.mean));
    put(QStringLiteral("Стандартное отклонение s"), FormatThree(r.s), FormatThree(f.s));
    put(QStringLiteral("Коэффициент вариации, %"), FormatPercent(r.cvPercent),
        FormatPercent(f.cvPercent));
    put(QStringLiteral("Минимум"), three(r.min), three(f.min));
    put(QStringLiteral("Максимум"), three(r.max), three(f.max));
    page.Rule(area.left(), area.right(), row.top());

    row.translate(0, line / 2);
    page.SetFont(kTableFamily, 1.2 * line, true);
    page.Draw(
        row, Qt::AlignLeft,
        result.seriesStrength
            ? QStringLiteral("Прочность серии: %1 Н/мм.кв").arg(FormatThree(*result.seriesStrength))
            : QStringLiteral("Прочность серии не определена"));
    row.translate(0, 1.2 * line);
    page.SetFont(kTableFamily, line, false);
    const QString why = result.seriesStrength ? RuleText(rule) : result.error;
    page.DrawWrapped(QRectF(row.left(), row.top(), row.width(), area.bottom() - row.top()),
                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral("(%1)").arg(why));
}

}  // namespace archive
