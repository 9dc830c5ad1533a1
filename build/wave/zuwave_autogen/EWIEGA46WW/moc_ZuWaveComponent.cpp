/****************************************************************************
** Meta object code from reading C++ file 'ZuWaveComponent.h'
**
** Created by: The Qt Meta Object Compiler version 68 (Qt 6.4.2)
**
** WARNING! All changes made in this file will be lost!
*****************************************************************************/

#include <memory>
#include "../../../../wave/ZuWaveComponent.h"
#include <QtCore/qmetatype.h>
#if !defined(Q_MOC_OUTPUT_REVISION)
#error "The header file 'ZuWaveComponent.h' doesn't include <QObject>."
#elif Q_MOC_OUTPUT_REVISION != 68
#error "This file was generated using the moc from 6.4.2. It"
#error "cannot be used with the include files from this version of Qt."
#error "(The moc has changed too much.)"
#endif

#ifndef Q_CONSTINIT
#define Q_CONSTINIT
#endif

QT_BEGIN_MOC_NAMESPACE
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
namespace {
struct qt_meta_stringdata_TZuWave_t {
    uint offsetsAndSizes[10];
    char stringdata0[8];
    char stringdata1[5];
    char stringdata2[13];
    char stringdata3[5];
    char stringdata4[9];
};
#define QT_MOC_LITERAL(ofs, len) \
    uint(sizeof(qt_meta_stringdata_TZuWave_t::offsetsAndSizes) + ofs), len 
Q_CONSTINIT static const qt_meta_stringdata_TZuWave_t qt_meta_stringdata_TZuWave = {
    {
        QT_MOC_LITERAL(0, 7),  // "TZuWave"
        QT_MOC_LITERAL(8, 4),  // "Freq"
        QT_MOC_LITERAL(13, 12),  // "std::int32_t"
        QT_MOC_LITERAL(26, 4),  // "Bits"
        QT_MOC_LITERAL(31, 8)   // "Channels"
    },
    "TZuWave",
    "Freq",
    "std::int32_t",
    "Bits",
    "Channels"
};
#undef QT_MOC_LITERAL
} // unnamed namespace

Q_CONSTINIT static const uint qt_meta_data_TZuWave[] = {

 // content:
      10,       // revision
       0,       // classname
       0,    0, // classinfo
       0,    0, // methods
       3,   14, // properties
       0,    0, // enums/sets
       0,    0, // constructors
       0,       // flags
       0,       // signalCount

 // properties: name, type, flags
       1, 0x80000000 | 2, 0x0001500b, uint(-1), 0,
       3, 0x80000000 | 2, 0x0001500b, uint(-1), 0,
       4, 0x80000000 | 2, 0x0001500b, uint(-1), 0,

       0        // eod
};

Q_CONSTINIT const QMetaObject TZuWave::staticMetaObject = { {
    QMetaObject::SuperData::link<QObject::staticMetaObject>(),
    qt_meta_stringdata_TZuWave.offsetsAndSizes,
    qt_meta_data_TZuWave,
    qt_static_metacall,
    nullptr,
    qt_incomplete_metaTypeArray<qt_meta_stringdata_TZuWave_t,
        // property 'Freq'
        QtPrivate::TypeAndForceComplete<std::int32_t, std::true_type>,
        // property 'Bits'
        QtPrivate::TypeAndForceComplete<std::int32_t, std::true_type>,
        // property 'Channels'
        QtPrivate::TypeAndForceComplete<std::int32_t, std::true_type>,
        // Q_OBJECT / Q_GADGET
        QtPrivate::TypeAndForceComplete<TZuWave, std::true_type>
    >,
    nullptr
} };

void TZuWave::qt_static_metacall(QObject *_o, QMetaObject::Call _c, int _id, void **_a)
{
if (_c == QMetaObject::ReadProperty) {
        auto *_t = static_cast<TZuWave *>(_o);
        (void)_t;
        void *_v = _a[0];
        switch (_id) {
        case 0: *reinterpret_cast< std::int32_t*>(_v) = _t->GetFreq(); break;
        case 1: *reinterpret_cast< std::int32_t*>(_v) = _t->GetBits(); break;
        case 2: *reinterpret_cast< std::int32_t*>(_v) = _t->GetChannels(); break;
        default: break;
        }
    } else if (_c == QMetaObject::WriteProperty) {
        auto *_t = static_cast<TZuWave *>(_o);
        (void)_t;
        void *_v = _a[0];
        switch (_id) {
        case 0: _t->SetFreq(*reinterpret_cast< std::int32_t*>(_v)); break;
        case 1: _t->SetBits(*reinterpret_cast< std::int32_t*>(_v)); break;
        case 2: _t->SetChannels(*reinterpret_cast< std::int32_t*>(_v)); break;
        default: break;
        }
    } else if (_c == QMetaObject::ResetProperty) {
    } else if (_c == QMetaObject::BindableProperty) {
    }
    (void)_o;
    (void)_id;
    (void)_c;
    (void)_a;
}

const QMetaObject *TZuWave::metaObject() const
{
    return QObject::d_ptr->metaObject ? QObject::d_ptr->dynamicMetaObject() : &staticMetaObject;
}

void *TZuWave::qt_metacast(const char *_clname)
{
    if (!_clname) return nullptr;
    if (!strcmp(_clname, qt_meta_stringdata_TZuWave.stringdata0))
        return static_cast<void*>(this);
    return QObject::qt_metacast(_clname);
}

int TZuWave::qt_metacall(QMetaObject::Call _c, int _id, void **_a)
{
    _id = QObject::qt_metacall(_c, _id, _a);
    if (_id < 0)
        return _id;
    if (_c == QMetaObject::ReadProperty || _c == QMetaObject::WriteProperty
            || _c == QMetaObject::ResetProperty || _c == QMetaObject::BindableProperty
            || _c == QMetaObject::RegisterPropertyMetaType) {
        qt_static_metacall(this, _c, _id, _a);
        _id -= 3;
    }
    return _id;
}
QT_WARNING_POP
QT_END_MOC_NAMESPACE
