Attribute VB_Name = "AtrybutyLinii"
' Atrybuty from an Excel workbook: opens the dialog that changes how the
' lines of a Microsoft Map layer are drawn.
'
' Import this file into the workbook's VBA project (in the VBA editor:
' File > Import File...) and assign the macros to buttons or menu commands:
'   ZmienAtrybutyLinii               the ordinary start
'   ZmienAtrybutyLiniiZUruchomienia  the start from the map viewer's launcher:
'                                    "Nie odœwie¿aj arkusza" stays ticked and
'                                    the dialog's cancel button ends Atrybuty
'   AtrybutyZmienione                the object's IsChange: True when the
'                                    last dialog ran "Zastosuj" and no
'                                    "Anuluj" followed
'
' The module is named AtrybutyLinii, not Atrybuty: with early binding a
' module named like the type library would hide the library's names.
'
' The file is saved in Windows-1250 with CRLF line ends, because the VBA
' editor reads an imported module in the system's ANSI code page.
'
' Late binding: the object is created by its ProgID, so the workbook needs no
' reference and still opens where Atrybuty is not installed. For early binding
' (IntelliSense, checks at compile time) tick "Atrybuty" in Tools > References
' and write
'   Private mAtrybuty As Atrybuty.MorvalyClsAttribute
'   Set mAtrybuty = New Atrybuty.MorvalyClsAttribute
'
' The code stays valid VBScript once every line beginning with "Attribute"
' and every "As <Type>" clause outside comment lines are removed; the tests
' run it that way. Keep it so: errors through On Error Resume Next and
' Err.Number (never On Error GoTo a label); no Optional or ParamArray
' parameters, no Declare, Type, GoSub or As New, no string functions with
' "$" (Left$); and MsgBox always called with exactly three arguments.
Option Explicit

' The object lives as long as this module-level variable holds it. The main
' dialog is modeless: RunForm returns while the dialog is still open, and
' the object must be kept until the user closes it.
Private mAtrybuty As Object

' The ordinary start from a workbook.
Public Sub ZmienAtrybutyLinii()
    UruchomAtrybuty ""
End Sub

' The start from the map viewer's launcher.
Public Sub ZmienAtrybutyLiniiZUruchomienia()
    UruchomAtrybuty "FROM_EXEC"
End Sub

' The object's IsChange: whether "Zastosuj" ran since the dialog was last
' opened ("Anuluj" sets it back to False). False when no dialog was opened or
' Atrybuty has ended (a cancel after a start from the viewer's launcher ends
' it), so reading it never raises an error.
Public Function AtrybutyZmienione() As Boolean
    AtrybutyZmienione = False
    If Not IsObject(mAtrybuty) Then Exit Function
    If mAtrybuty Is Nothing Then Exit Function
    On Error Resume Next
    AtrybutyZmienione = CBool(mAtrybuty.IsChange)
    If Err.Number <> 0 Then AtrybutyZmienione = False
    On Error GoTo 0
End Function

' Creates the object, hands it this Excel and opens the dialog (with several
' map packages installed the package choice comes first). Errors, such as a
' broken package configuration, arrive as automation errors whose
' description is a sentence for the user.
Private Sub UruchomAtrybuty(ByVal pokaz As String)
    Dim numer As Long
    Dim opis As String

    ' A new object replaces the one of an earlier start; the component then
    ' shows the new start's dialog in place of the old one.
    On Error Resume Next
    Set mAtrybuty = CreateObject("Atrybuty.MorvalyClsAttribute")
    If Err.Number = 0 Then Set mAtrybuty.Excel = Application
    If Err.Number = 0 And pokaz <> "" Then mAtrybuty.ShowNow = pokaz
    If Err.Number = 0 Then mAtrybuty.RunForm
    numer = Err.Number
    opis = Err.Description
    On Error GoTo 0

    If numer <> 0 Then
        Set mAtrybuty = Nothing
        If opis = "" Then opis = "B³¹d &H" & Hex(numer) & "."
        MsgBox "Nie uda³o siê otworzyæ okna zmiany atrybutów linii." & vbCrLf & vbCrLf & opis, vbCritical, "Atrybuty"
    End If
End Sub
