#include "kit/Drops.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace kit {

bool CarriesFileRefs(const QMimeData* data) {
    if (!data || !data->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

Message RefsFromDrop(const QMimeData* data, uint32_t what) {
    Message refs(what);
    if (!data) {
        return refs;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            refs.Add<EntryRef>("refs",
                               EntryRef{QFile::encodeName(url.toLocalFile()).toStdString()});
        }
    }
    return refs;
}

} // namespace kit
