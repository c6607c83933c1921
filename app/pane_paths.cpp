// Path helpers of the main window.
#include "app/pane_paths.h"
#include "idlist/file_path.h"
#include "shview/fileview/FileView.h"
#include "shview/folderview/FolderView.h"

#include <shellapi.h>

bool FolderExists(const std::wstring& path)
{
    if (path.empty())
        return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring GetNodePath(const TFolderView& tree, ui::TreeNode node)
{
    if (!node)
        return {};
    idlist::AbsoluteIDList absolute = tree.NodeIDList(node);
    return idlist::IDListDisplayName(absolute.get(), SHGDN_FORPARSING);
}

bool IsVirtualNode(const TFolderView& tree, ui::TreeNode node)
{
    if (!node || tree.Level(node) == 0)
        return true;
    // A folder deeper than MAX_PATH is as real as any other.
    std::wstring path;
    return !idlist::IDListFileSystemPath(tree.NodeIDList(node).get(), path);
}

std::wstring GetNodeCaption(const TFolderView& tree, ui::TreeNode node)
{
    if (!node)
        return {};
    idlist::AbsoluteIDList absolute = tree.NodeIDList(node);
    if (!absolute)
        return {};
    // My Computer's parsing name is a class identifier ("::{20D04FE0-...}"),
    // nothing a reader knows the folder by.
    if (std::wstring path; idlist::IDListFileSystemPath(absolute.get(), path))
        return path;
    return idlist::IDListDisplayName(absolute.get(), SHGDN_NORMAL);
}

std::wstring GetItemPath(const TFileView& list, int index) { return list.ItemPath(index); }

std::vector<std::wstring> CommandLineArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(argv[i]);
    LocalFree(argv);
    return arguments;
}
