// The folder dialog of the backup and the restore.
#include "SeleccionarDir.h"

#include "CajasMensaje.h"
#include "CopiaDatos.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

TFormSeleccionarDir::TFormSeleccionarDir(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSeleccionarDir"));
    setWindowTitle(QStringLiteral("Selección de Directorio"));

    GroupBox1 = new QGroupBox(QStringLiteral("Seleccione un Directorio"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    DriveComboBox = new QComboBox(GroupBox1);
    DriveComboBox->setObjectName(QStringLiteral("DriveComboBox"));
    DirectoryListBox = new QListWidget(GroupBox1);
    DirectoryListBox->setObjectName(QStringLiteral("DirectoryListBox"));
    DirectoryListBox->installEventFilter(this);
    auto *v1 = new QVBoxLayout(GroupBox1);
    v1->addWidget(DriveComboBox);
    v1->addWidget(DirectoryListBox);

    GroupBox2 = new QGroupBox(QStringLiteral("Carpeta Seleccionada"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    EditDirectorio = new QLineEdit(GroupBox2);
    EditDirectorio->setObjectName(QStringLiteral("EditDirectorio"));
    auto *v2 = new QVBoxLayout(GroupBox2);
    v2->addWidget(EditDirectorio);

    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setDefault(true);
    BtnCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BtnAceptar);
    botones->addWidget(BtnCancelar);

    auto *v = new QVBoxLayout(this);
    v->addWidget(GroupBox1, 1);
    v->addWidget(GroupBox2);
    v->addLayout(botones);
    resize(380, 420);

    connect(DriveComboBox, &QComboBox::activated, this, &TFormSeleccionarDir::DriveComboBoxChange);
    connect(DirectoryListBox, &QListWidget::itemActivated, this, &TFormSeleccionarDir::Abrir_Elemento);
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormSeleccionarDir::BtnAceptarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormSeleccionarDir::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormSeleccionarDir::FormShow()
{
    // A fresh dialog opens where the last one was left: the current folder.
    Ir_A(Carpeta_Elegida.isEmpty() ? QDir::currentPath() : Carpeta_Elegida);
}

void TFormSeleccionarDir::Ir_A(const QString &carpeta)
{
    QString destino = Normalizar_Carpeta(carpeta, m_carpeta);
    // A folder that has gone: its nearest existing parent.
    while (!destino.isEmpty() && !QFileInfo(destino).isDir() && destino != QLatin1String("/"))
        destino = QFileInfo(destino).path();
    if (destino.isEmpty())
        destino = QDir::rootPath();
    m_carpeta = destino;

    DirectoryListBox->clear();
    const QIcon abierta = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon cerrada = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList camino;
    for (QString c = destino;; c = QFileInfo(c).path()) {
        camino.prepend(c);
        if (c == QLatin1String("/") || QFileInfo(c).path() == c)
            break;
    }
    auto anadir = [&](const QString &ruta, const QIcon &icono, int nivel) {
        const QString nombre = ruta == QLatin1String("/") ? ruta : QFileInfo(ruta).fileName();
        auto *e = new QListWidgetItem(icono, QString(nivel * 2, QLatin1Char(' ')) + nombre, DirectoryListBox);
        e->setData(Qt::UserRole, ruta);
        return e;
    };
    QListWidgetItem *actual = nullptr;
    for (int i = 0; i < camino.size(); ++i)
        actual = anadir(camino[i], abierta, i);
    const QStringList hijas =
        QDir(destino).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &h : hijas)
        anadir(Ruta_En(destino, h), cerrada, int(camino.size()));
    DirectoryListBox->setCurrentItem(actual);

    Elegir_Unidad(destino);
    DirectoryListBoxChange();
}

void TFormSeleccionarDir::Elegir_Unidad(const QString &carpeta)
{
    const QSignalBlocker bloqueo(DriveComboBox);
    QStringList unidades = Unidades();
    const QString raiz = QStorageInfo(carpeta).rootPath();
    if (!raiz.isEmpty() && !unidades.contains(raiz))
        unidades << raiz; // the list's own volume is always shown
    QStringList actuales;
    for (int i = 0; i < DriveComboBox->count(); ++i)
        actuales << DriveComboBox->itemText(i);
    if (actuales != unidades) {
        DriveComboBox->clear();
        DriveComboBox->addItems(unidades);
    }
    DriveComboBox->setCurrentIndex(DriveComboBox->findText(raiz));
}

void TFormSeleccionarDir::DriveComboBoxChange()
{
    const QString raiz = DriveComboBox->currentText();
    if (!raiz.isEmpty())
        Ir_A(raiz);
}

void TFormSeleccionarDir::DirectoryListBoxChange()
{
    EditDirectorio->setText(m_carpeta);
    // The next folder dialog opens where the user left this one.
    QDir::setCurrent(m_carpeta);
}

void TFormSeleccionarDir::Abrir_Elemento(QListWidgetItem *elemento)
{
    if (elemento)
        Ir_A(elemento->data(Qt::UserRole).toString());
}

bool TFormSeleccionarDir::eventFilter(QObject *objeto, QEvent *event)
{
    // Enter in the folder list opens the folder; it does not accept the dialog.
    if (objeto == DirectoryListBox && event->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(event)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            Abrir_Elemento(DirectoryListBox->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(objeto, event);
}

void TFormSeleccionarDir::BtnAceptarClick()
{
    const QString carpeta = Normalizar_Carpeta(EditDirectorio->text(), m_carpeta);
    if (carpeta.isEmpty()) {
        Aviso_Plataforma(this, windowTitle(), QStringLiteral("Escriba o elija una carpeta."));
        return;
    }
    if (QFileInfo(carpeta).isDir()) {
        Carpeta_Elegida = carpeta;
        accept();
        return;
    }
    if (!Pregunta_Plataforma(this, QStringLiteral("Crear nuevo directorio"),
                             QStringLiteral("El directorio seleccionado no existe. ¿Desea crearlo?"))) {
        reject();
        return;
    }
    // A folder that could not be made is not taken: the user chooses again.
    if (!QDir().mkpath(carpeta) || !QFileInfo(carpeta).isDir()) {
        Aviso_Plataforma(this, QStringLiteral("Crear nuevo directorio"),
                         QStringLiteral("No se ha podido crear el directorio %1.").arg(carpeta));
        return;
    }
    Carpeta_Elegida = carpeta;
    accept();
}
