#include "audiograms/ui/CViewAud.h"

#include "document/CQuorinDoc.h"
#include "audiograms/store/ChartFirstDraw.h"
#include "audiograms/record/ChartGeometry.h"
#include "audiograms/ui/ChartPrinting.h"
#include "framework/ApplicationPrinter.h"
#include "resources/Resource.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

using quorin::UserInterface;

CViewAud::CViewAud(QWidget* parent, CCreateContext* context) : QWidget(parent)
{
    setObjectName(QStringLiteral("CViewAud"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Audiogram"));
    m_pDocument = context ? context->m_pCurrentDoc : nullptr;
    if (m_pDocument)
        m_pDocument->AddView(this);
    InstallCommands();
    RefreshDescription();
}

CViewAud::~CViewAud()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

TWindowClass CViewAud::WindowClass()
{
    return TWindowClass{QStringLiteral("CViewAud"), 5, [](QWidget* parent, CCreateContext* context) -> QWidget* {
                            return new CViewAud(parent, context);
                        }};
}

void CViewAud::InstallCommands()
{
    CCommandMap& map = CommandMap();
    map.OnRange(res::ID_SYMBOL_FIRST, res::ID_SYMBOL_ERASER,
                [this](unsigned id) { m_tools.m_nTool = quorin::ToolOfCommand(id); });
    map.OnUpdateRange(res::ID_SYMBOL_FIRST, res::ID_SYMBOL_ERASER,
                      [this](CCmdUI* ui) { ui->SetRadio(m_tools.m_nTool == quorin::ToolOfCommand(ui->m_nID)); });
    map.On(res::ID_AUD_EDIT, [this] { m_tools.m_bEditExisting = !m_tools.m_bEditExisting; });
    map.OnUpdate(res::ID_AUD_EDIT, [this](CCmdUI* ui) { ui->SetRadio(m_tools.m_bEditExisting == 1); });
    map.On(res::ID_FILE_PRINT, [this] { OnFilePrint(); });
    map.On(res::ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

quorin::ChartContent CViewAud::Content() const
{
    quorin::ChartContent content;
    if (!m_pDocument)
        return content;
    // The test appears once the chart was loaded for the subject.
    if (m_pDocument->m_bChartLoaded == 1)
        content.record = &m_pDocument->m_audCurrent;
    content.historyLoaded = m_pDocument->m_bHistoryLoaded;
    content.historyPos = m_pDocument->m_nHistoryPos;
    content.historyTotal = m_pDocument->m_nHistoryCount + 1;
    return content;
}

bool CViewAud::OnUpdate(int hint)
{
    if (hint == HintRefresh && isVisible() && !m_checksRunning) {
        // Another subject (or none) is shown now: its checks are due.
        m_checksDue = true;
    }
    update();
    return true;
}

void CViewAud::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    quorin::PaintAudiogramChart(painter, size(), Content());
    painter.end();
    RefreshDescription();
    if (m_checksDue)
        ScheduleFirstDrawChecks();
}

void CViewAud::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_checksDue = true;
    update();
}

void CViewAud::hideEvent(QHideEvent* event)
{
    m_checksDue = false;
    QWidget::hideEvent(event);
}

void CViewAud::ScheduleFirstDrawChecks()
{
    m_checksDue = false;
    if (m_checksQueued)
        return;
    m_checksQueued = true;
    // A message box or a tab change inside a paint would repaint and repeat itself: the
    // checks wait until the paint has finished.
    QPointer<CViewAud> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self)
            return;
        self->m_checksQueued = false;
        if (self->isVisible())
            self->RunFirstDrawChecks();
    });
}

void CViewAud::RunFirstDrawChecks()
{
    if (!m_pDocument)
        return;
    m_checksRunning = true;
    const bool wasLoaded = m_pDocument->m_bChartLoaded == 1;
    quorin::RunChartFirstDrawChecks(*m_pDocument);
    m_checksRunning = false;
    if (!wasLoaded && m_pDocument->m_bChartLoaded == 1)
        update();
}

void CViewAud::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pDocument) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
    // Until the subject passed the checks its test is not shown: an edit would be unseen.
    if (m_pDocument->m_bChartLoaded != 1)
        return;
    const quorin::ChartGeometry geometry(width(), height());
    const QPoint at = event->position().toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    quorin::ClickChart(*m_pDocument, m_tools, geometry, at.x(), at.y(), shift);
    update();
}

void CViewAud::OnFilePrint()
{
    if (!m_pDocument)
        return;
    QPrinter& printer = framework::ApplicationPrinter();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!quorin::PrintAudiogram(printer, Content(), quorin::PrintedSubjectLine(m_pDocument->m_subject)))
        m_pDocument->UI().MessageBox(QStringLiteral("Unable to print!"), UserInterface::Icon::Stop);
}

void CViewAud::OnFilePrintPreview()
{
    if (!m_pDocument)
        return;
    QPrinter& printer = framework::ApplicationPrinter();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        QPainter painter;
        if (!painter.begin(target))
            return;
        quorin::PaintAudiogramPage(painter, target->pageRect(QPrinter::DevicePixel).size().toSize(), Content(),
                                   quorin::PrintedSubjectLine(m_pDocument->m_subject));
        painter.end();
    });
    preview.exec();
}

QString CViewAud::DescribeChart() const
{
    if (!m_pDocument)
        return QString();
    const CAudRecord& record = m_pDocument->m_audCurrent;
    int total = 0, right = 0, left = 0;
    for (const CAudPoint& p : record.Points) {
        const int code = p.symbol > 12 ? p.symbol - 128 : p.symbol;
        if (code < 1 || code > 12)
            continue;
        ++total;
        const QColor ear = quorin::SymbolColour(code);
        if (ear == quorin::ChartColour(0))
            ++right;
        else if (ear == quorin::ChartColour(2))
            ++left;
    }
    const QString date = record.Info.TestDate.isEmpty() ? QStringLiteral("an undated test") : record.Info.TestDate;
    return QStringLiteral("Audiogram of %1, %2 points; right ear %3, left ear %4")
        .arg(date)
        .arg(total)
        .arg(right)
        .arg(left);
}

void CViewAud::RefreshDescription()
{
    const QString text = DescribeChart();
    if (text != accessibleDescription())
        setAccessibleDescription(text);
}
