#pragma once

#include <QString>
#include <stdexcept>

// The root of every failure Parlivo raises; the message names the operation and the file or voice.
class ParlivoError : public std::runtime_error
{
public:
    explicit ParlivoError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

class FileError : public ParlivoError
{
    using ParlivoError::ParlivoError;
};

class SpeechError : public ParlivoError
{
    using ParlivoError::ParlivoError;
};

// "'%s' is not a valid integer value", raised where a text must be a whole number.
class ConversionError : public ParlivoError
{
public:
    explicit ConversionError(const QString& text)
        : ParlivoError(QStringLiteral("'%1' is not a valid integer value").arg(text))
    {
    }
};

// Converts text to an integer as the settings and spelling files expect, or throws ConversionError.
int StrToInt(const QString& text);
