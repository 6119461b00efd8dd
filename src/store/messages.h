#pragma once
// Titles and texts of every message the record store shows, exactly as the user sees them ("|"
// is a line break, see platform::lineBreaks). %File is a physical file name, %ErrorText the
// SQLite error text.

#include <QString>

namespace store::msg {

// Opening a file.
inline QString fileCreationErrorTitle() {
    return QStringLiteral("File Creation Error");
}
inline QString fileCreationError(const QString& file, const QString& error) {
    return QStringLiteral("Error: (%1) creating %2.").arg(error, file);
}
inline QString fileAccessErrorTitle() {
    return QStringLiteral("File Access Error");
}
inline QString fileAccessError(const QString& file, const QString& error) {
    return QStringLiteral("File %1 could not be opened.  Error: %2.").arg(file, error);
}
inline QString invalidKeyTitle() {
    return QStringLiteral("Invalid Key");
}
inline QString invalidKey(const QString& file) {
    return QStringLiteral("%1 key file is invalid. Key must be rebuilt.").arg(file);
}
inline QString keyNotBuiltTitle() {
    return QStringLiteral("Key was not built");
}
inline QString keyNotBuilt(const QString& file, const QString& error) {
    return QStringLiteral("Error: (%1) repairing key for %2.").arg(error, file);
}
inline QString accessDeniedTitle() {
    return QStringLiteral("Access Denied");
}
inline QString accessDenied(const QString& file) {
    return QStringLiteral("Could not get write access to %1 so trying read-only.").arg(file);
}

// Identifiers and writing records.
inline QString autoIncrementErrorTitle() {
    return QStringLiteral("Auto Increment Error");
}
inline QString autoIncrementError(const QString& file, const QString& key, const QString& error) {
    return QStringLiteral(
               "Attempts to automatically number this record have failed.|File: %1|Key: %2|"
               "Error: %3.|Try Again?")
        .arg(file, key, error);
}
inline QString duplicateKeyTitle() {
    return QStringLiteral("Duplicate Key Error");
}
inline QString duplicateKey(const QString& key) {
    return QStringLiteral("Adding this record creates a duplicate entry for the key: %1").arg(key);
}
inline QString insertErrorTitle() {
    return QStringLiteral("Record Insert Error");
}
inline QString insertError(const QString& file, const QString& error) {
    return QStringLiteral(
               "An error was experienced during the creation of a record.|File: %1|Error: %2.")
        .arg(file, error);
}
inline QString changedByOtherTitle() {
    return QStringLiteral("Record Was Not Updated");
}
inline QString changedByOther() {
    return QStringLiteral("This record was changed by another station.");
}
inline QString updateErrorTitle() {
    return QStringLiteral("Record was not updated");
}
inline QString updateError(const QString& file, const QString& error) {
    return QStringLiteral("An error (%1) was experienced when making changes to the %2 file.")
        .arg(error, file);
}
// Reading a record failed for another reason than the end of the file.
inline QString readErrorTitle() {
    return QStringLiteral("Record Retrieval Error");
}
inline QString readError(const QString& file, const QString& error) {
    return QStringLiteral("An error (%1) was experienced when reading a record from the %2 file.")
        .arg(error, file);
}

// Deleting.
inline QString confirmDeleteTitle() {
    return QStringLiteral("Confirm Delete");
}
inline QString confirmDelete() {
    return QStringLiteral("Are you sure you want to delete the highlighted record?");
}
inline QString transactionCancelledTitle() {
    return QStringLiteral("Transaction cancelled");
}
inline QString transactionCancelled(const QString& file, const QString& error) {
    return QStringLiteral("Error: (%1) attempting to frame the transaction on %2.")
        .arg(error, file);
}
inline QString deleteErrorTitle() {
    return QStringLiteral("Record was not deleted");
}
inline QString deleteError(const QString& file, const QString& error) {
    return QStringLiteral("An error (%1) was experienced when deleting a record from the %2 file.")
        .arg(error, file);
}
inline QString deleteRetryTitle() {
    return QStringLiteral("Record Delete Error");
}
inline QString deleteRetry() {
    return QStringLiteral(
        "An error was experienced deleting this record. Do you want to try to delete it again?");
}

// Field checks of the frozen copies.
inline QString rangeErrorTitle() {
    return QStringLiteral("Range Error");
}
inline QString inRange(const QString& field, const QString& range) {
    return QStringLiteral("The value of %1 must be in range %2.").arg(field, range);
}
inline QString higherThan(const QString& field, const QString& bound) {
    return QStringLiteral("The value of %1 must be higher than %2.").arg(field, bound);
}

}  // namespace store::msg
