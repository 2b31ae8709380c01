object OptionsDlg: TOptionsDlg
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Options'
  ClientHeight = 406
  ClientWidth = 588
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
  object cxPageControl: TcxPageControl
    Left = 8
    Top = 8
    Width = 572
    Height = 352
    ActivePage = cxTabSheet1
    TabOrder = 0
    object cxTabSheet1: TcxTabSheet
      Caption = 'Ge&neral'
          object cbMinimized: TCheckBox
            Left = 16
            Top = 16
            Width = 300
            Height = 17
            Caption = 'Start Main Window &Minimized'
            TabOrder = 0
          end
          object Label1: TLabel
            Left = 16
            Top = 48
            Width = 200
            Height = 13
            Caption = 'Code &Formatting Configurations:'
          end
          object Label2: TLabel
            Left = 16
            Top = 48
            Width = 200
            Height = 13
            Caption = 'Code Indent Con&figurations:'
          end
          object ListBox: TListBox
            Left = 16
            Top = 66
            Width = 300
            Height = 200
            ItemHeight = 13
            Style = lbOwnerDrawFixed
            TabOrder = 1
            OnDblClick = ListBoxDblClick
            OnDrawItem = ListBoxDrawItem
          end
          object AddBtn: TButton
            Left = 328
            Top = 66
            Width = 90
            Height = 25
            Caption = '&Add'
            TabOrder = 2
            OnClick = AddBtnClick
          end
          object EditBtn: TButton
            Left = 328
            Top = 96
            Width = 90
            Height = 25
            Caption = '&Edit'
            TabOrder = 3
            OnClick = ListBoxDblClick
          end
          object CopyBtn: TButton
            Left = 328
            Top = 126
            Width = 90
            Height = 25
            Caption = 'Co&py'
            TabOrder = 4
            OnClick = CopyBtnClick
          end
          object SetAsDefBtn: TButton
            Left = 328
            Top = 156
            Width = 90
            Height = 25
            Caption = '&Set As Default'
            TabOrder = 5
            OnClick = SetAsDefBtnClick
          end
          object DeleteBtn: TButton
            Left = 328
            Top = 186
            Width = 90
            Height = 25
            Caption = '&Delete'
            TabOrder = 6
            OnClick = DeleteBtnClick
          end
    end
    object cxTabSheet2: TcxTabSheet
      Caption = 'Ad&vanced'
          object Label3: TLabel
            Left = 16
            Top = 20
            Width = 160
            Height = 13
            Caption = 'Ac&tivation HotKey :'
          end
          object HotKey3: THotKey
            Left = 200
            Top = 16
            Width = 160
            Height = 21
            HotKey = 0
            TabOrder = 0
          end
          object Label4: TLabel
            Left = 16
            Top = 48
            Width = 160
            Height = 13
            Caption = 'Con&vert Clipboard HotKey :'
          end
          object HotKey2: THotKey
            Left = 200
            Top = 44
            Width = 160
            Height = 21
            HotKey = 0
            TabOrder = 1
          end
          object Label5: TLabel
            Left = 16
            Top = 76
            Width = 160
            Height = 13
            Caption = '&Indent Clipboard HotKey :'
          end
          object HotKey1: THotKey
            Left = 200
            Top = 72
            Width = 160
            Height = 21
            HotKey = 0
            TabOrder = 2
          end
          object Label6: TLabel
            Left = 16
            Top = 112
            Width = 160
            Height = 13
            Caption = 'PDF Page &Width :'
          end
          object Edit_Width: TEdit
            Left = 200
            Top = 108
            Width = 65
            Height = 21
            TabOrder = 3
            Text = '600'
          end
          object udWidth: TUpDown
            Left = 265
            Top = 108
            Width = 16
            Height = 21
            Associate = Edit_Width
            Max = 10000
            Position = 600
            TabOrder = 4
          end
          object Label7: TLabel
            Left = 16
            Top = 140
            Width = 160
            Height = 13
            Caption = 'PDF Page &Height :'
          end
          object Edit_Height: TEdit
            Left = 200
            Top = 136
            Width = 65
            Height = 21
            TabOrder = 5
            Text = '800'
          end
          object udHeight: TUpDown
            Left = 265
            Top = 136
            Width = 16
            Height = 21
            Associate = Edit_Height
            Max = 10000
            Position = 800
            TabOrder = 6
          end
          object cbSetupDialog: TCheckBox
            Left = 16
            Top = 176
            Width = 500
            Height = 17
            Caption = 'Show Advanced &Setup Dialog On Export'
            TabOrder = 7
          end
          object cbOpenAfterExport: TCheckBox
            Left = 16
            Top = 200
            Width = 500
            Height = 17
            Caption = '&Launch Associated Application After Conversion (Single File Only)'
            TabOrder = 8
          end
          object cbEncrypt: TCheckBox
            Left = 16
            Top = 232
            Width = 300
            Height = 17
            Caption = 'Always Encry&pt Exported PDF Files'
            TabOrder = 9
            Visible = False
            OnClick = cbEncryptClick
          end
          object RadioButton_AskForPass: TRadioButton
            Left = 32
            Top = 256
            Width = 250
            Height = 17
            Caption = 'As&k For Password Before Export'
            Enabled = False
            TabOrder = 10
            Visible = False
            OnClick = RadioButton_AlwaysUseThisPassClick
          end
          object RadioButton_AlwaysUseThisPass: TRadioButton
            Left = 32
            Top = 280
            Width = 180
            Height = 17
            Caption = 'Always &Use This Password :'
            Enabled = False
            TabOrder = 11
            Visible = False
            OnClick = RadioButton_AlwaysUseThisPassClick
          end
          object Edit_Password: TEdit
            Left = 216
            Top = 278
            Width = 150
            Height = 21
            Enabled = False
            PasswordChar = '*'
            TabOrder = 12
            Visible = False
          end
    end
    object cxTabSheet3: TcxTabSheet
      Caption = '&Conversion'
          object Label8: TLabel
            Left = 16
            Top = 16
            Width = 160
            Height = 13
            Caption = '&Export Code HotKeys:'
          end
          object ListBox1: TMyListBox
            Left = 16
            Top = 34
            Width = 200
            Height = 160
            ItemHeight = 13
            Items.Strings = (
            'HTML'
            'PDF'
            'RTF'
            'Lotus'
            'Bitmap'
            'PNG'
            'JPG'
            'SVG'
            'QuattroPro'
            'Excel')
            TabOrder = 0
            OnChange = ListBox1Change
          end
          object HotKey4: THotKey
            Left = 232
            Top = 34
            Width = 160
            Height = 21
            HotKey = 0
            InvalidKeys = []
            Modifiers = []
            TabOrder = 1
          end
          object AssignHKBtn: TButton
            Left = 400
            Top = 32
            Width = 75
            Height = 25
            Caption = 'A&ssign'
            TabOrder = 2
            OnClick = AssignHKBtnClick
          end
          object Label9: TLabel
            Left = 16
            Top = 212
            Width = 160
            Height = 13
            Caption = '&Default Export Format:'
          end
          object cbDefaultExportFormat: TComboBox
            Left = 16
            Top = 230
            Width = 200
            Height = 21
            Style = csDropDownList
            ItemIndex = 0
            Items.Strings = (
            'HTML'
            'PDF'
            'RTF'
            'Lotus'
            'Bitmap'
            'PNG'
            'JPG'
            'SVG'
            'QuattroPro'
            'Excel')
            TabOrder = 3
          end
    end
  end
  object OKBtn: TButton
    Left = 424
    Top = 372
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    TabOrder = 1
    OnClick = OKBtnClick
  end
  object CancelBtn: TButton
    Left = 505
    Top = 372
    Width = 75
    Height = 25
    Cancel = True
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
