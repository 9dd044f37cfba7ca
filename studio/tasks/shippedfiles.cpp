// SPDX-License-Identifier: MIT
#include "shippedfiles.h"

#include "datafolder.h"
#include "platform.h"

#include <QFile>

namespace {

std::string local(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromLocal(const std::string &path)
{
    return QFile::decodeName(path.c_str());
}

} // namespace

ShippedFiles::ShippedFiles(const Platform &platform)
    : platform(platform)
{
}

std::string ShippedFiles::folder() const
{
    return local(platform.programFolder());
}

QString ShippedFiles::file(const QString &name) const
{
    return fromLocal(DataFolder::existingFile(local(name), folder()));
}

QString ShippedFiles::language() const
{
    return file(QStringLiteral("Language.txt"));
}

QString ShippedFiles::picture(const QString &name) const
{
    return fromLocal(DataFolder::existingFile(local(name), folder(), "pictures"));
}

QString ShippedFiles::program(const QString &name) const
{
    return fromLocal(DataFolder::program(local(name), folder()));
}

QString ShippedFiles::guide() const
{
    return fromLocal(DataFolder::guidePage(folder()));
}
