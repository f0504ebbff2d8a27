// Lays pictures out in pairs, one row per pair with its caption, on one
// white sheet saved as a PNG: the two builds' windows side by side.
// Usage: picture_sheet_tool out.png "left title" "right title" \
//            caption left.png right.png [caption left.png right.png ...]
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Row {
  QString caption;
  QImage left, right;
};

constexpr int kMargin = 16;
constexpr int kLine = 22;  // height of one line of text

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 7 || (argc - 4) % 3 != 0) {
    std::fprintf(stderr, "usage: picture_sheet_tool out.png left-title right-title (caption left right)...\n");
    return 2;
  }
  const QString leftTitle = QString::fromLocal8Bit(argv[2]), rightTitle = QString::fromLocal8Bit(argv[3]);
  std::vector<Row> rows;
  int leftWidth = 0, rightWidth = 0;
  for (int i = 4; i + 2 < argc; i += 3) {
    Row row{QString::fromLocal8Bit(argv[i]), QImage(QString::fromLocal8Bit(argv[i + 1])),
            QImage(QString::fromLocal8Bit(argv[i + 2]))};
    if (row.left.isNull() || row.right.isNull()) {
      std::fprintf(stderr, "cannot read %s or %s\n", argv[i + 1], argv[i + 2]);
      return 1;
    }
    leftWidth = std::max(leftWidth, row.left.width());
    rightWidth = std::max(rightWidth, row.right.width());
    rows.push_back(std::move(row));
  }
  int height = kMargin + kLine;
  for (const Row& row : rows) height += kLine + std::max(row.left.height(), row.right.height()) + kMargin;

  QImage sheet(kMargin * 3 + leftWidth + rightWidth, height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(14);
  painter.setFont(font);
  const int rightX = kMargin * 2 + leftWidth;
  int y = kMargin;
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(kMargin, y, leftWidth, kLine), Qt::AlignLeft | Qt::AlignVCenter, leftTitle);
  painter.drawText(QRect(rightX, y, rightWidth, kLine), Qt::AlignLeft | Qt::AlignVCenter, rightTitle);
  font.setBold(false);
  painter.setFont(font);
  y += kLine;
  for (const Row& row : rows) {
    painter.setPen(Qt::darkGray);
    painter.drawText(QRect(kMargin, y, leftWidth + rightWidth, kLine), Qt::AlignLeft | Qt::AlignVCenter, row.caption);
    y += kLine;
    painter.drawImage(kMargin, y, row.left);
    painter.drawImage(rightX, y, row.right);
    y += std::max(row.left.height(), row.right.height()) + kMargin;
  }
  painter.end();
  if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
