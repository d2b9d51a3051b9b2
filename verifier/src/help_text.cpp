#include "help_text.h"

#include <array>

namespace tallisk {

namespace {

struct Paragraph {
    const char16_t* text;
    int trailingSpaces;
};

constexpr std::array<Paragraph, 5> kParagraphs{{
    {u"1、上部分为单个IMEI号校验位生成，点击“粘贴”按钮或在前面文本框中输入IMEI号的前14位数字，"
     u"后面的文本框将自动生成带校验位的IMEI号，点击“复制”按钮可将生成的IMEI号复制到剪贴板上。",
     103},
    {u"2、下部分为批量IMEI校验位生成，在“TAC+FAC”下的文本框中输入6位TAC号和2位FAC号，"
     u"注意不要有空格或其它符号，在起始号和终止号下的文本框中分别输入1~6位序列号，"
     u"序列号前的数字如果为0可省略。",
     95},
    {u"3、表格列数是指批量生成后IMEI在EXCEL表格中排列的列数，默认为1列，使用时可根据需要更改数字。",
     76},
    {u"4、点击“批量生成”按钮后程序将在同目录下生成一个名为    “imei.csv”的文件，"
     u"此文件可用记事本或EXCEL方式打开，用EXCEL方式打开后如果不能正常显示所需的IMEI号数据，"
     u"请按“Ctrl+V”键或点击表格边框左上角选中表格所有内容，"
     u"然后在选项中区域中单击右键选择“单元格格式设置-分类：数值-小数位数：0-"
     u"确定”即可正常显示IMEI号。",
     82},
    {u"5、因EXCEL表格单列数量有限，在单列IMEI数量超过60000个情况下，程序会自动增加列数。", 175},
}};

QString joinParagraphs(bool breakLines) {
    QString text;
    for (const Paragraph& paragraph : kParagraphs) {
        text += QString::fromUtf16(paragraph.text);
        if (breakLines) {
            text += QString(paragraph.trailingSpaces - 1, u' ');
            text += u'\n';
        } else {
            text += QString(paragraph.trailingSpaces, u' ');
        }
    }
    return text;
}

}  // namespace

QStringList helpParagraphs() {
    QStringList paragraphs;
    for (const Paragraph& paragraph : kParagraphs) paragraphs << QString::fromUtf16(paragraph.text);
    return paragraphs;
}

QString helpText() {
    return joinParagraphs(false);
}

QString helpTextForDisplay() {
    return joinParagraphs(true);
}

}  // namespace tallisk
