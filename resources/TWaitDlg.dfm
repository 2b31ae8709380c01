object WaitDlg: TWaitDlg
  Left = 245
  Top = 108
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Exporting Files...'
  ClientHeight = 110
  ClientWidth = 337
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poOwnerFormCenter
  PixelsPerInch = 96
  OnCreate = FormCreate
  object Label1: TLabel
    Left = 12
    Top = 14
    Width = 67
    Height = 13
    Caption = 'Current File :'
  end
  object Label_File: TLabel
    Left = 72
    Top = 14
    Width = 258
    Height = 13
    AutoSize = False
  end
  object Label2: TLabel
    Left = 12
    Top = 38
    Width = 76
    Height = 13
    Caption = 'Files Exported:'
  end
  object Label_Count: TLabel
    Left = 96
    Top = 38
    Width = 165
    Height = 13
    AutoSize = False
    Caption = '0'
  end
  object CancelBtn: TButton
    Left = 131
    Top = 72
    Width = 75
    Height = 25
    Cancel = True
    Caption = '&Stop'
    Default = True
    ModalResult = 2
    TabOrder = 0
    OnClick = CancelBtnClick
  end
  object DCMemo: TDCMemo
    Left = 0
    Top = 0
    Width = 100
    Height = 40
    HighlightUrls = True
    KeyMapping = 'Default'
    TabOrder = 1
    Visible = False
  end
  object RichEdit: TRichEdit
    Left = 0
    Top = 0
    Width = 600
    Height = 40
    TabOrder = 2
    Visible = False
  end
  object Timer: TTimer
    Enabled = False
    Interval = 1
    OnTimer = TimerTimer
  end
end
