object MainForm: TMainForm
  Left = 0
  Top = 0
  Width = 774
  Height = 581
  Caption = 'Sourcelux v1.0.0'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  KeyPreview = True
  OldCreateOrder = False
  Position = poDesktopCenter
  PixelsPerInch = 96
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object dxStatusBar: TdxStatusBar
    Left = 0
    Top = 527
    Width = 766
    Height = 20
    Panels = <
      item
        PanelStyleClassName = 'TdxStatusBarTextPanelStyle'
        PanelStyle.AutoHint = True
        Fixed = False
        Text = 'Lumivex'
      end
      item
        PanelStyleClassName = 'TdxStatusBarKeyboardStatePanelStyle'
      end>
    PaintStyle = stpsOffice11
  end
  object JzMain: TJzNavPanel
    Left = 0
    Top = 0
    Width = 766
    Height = 527
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 4
    TabOrder = 0
    object cxPageControl: TcxPageControl
      Left = 4
      Top = 4
      Width = 758
      Height = 519
      ActivePage = cxTabSheet1
      Align = alClient
      TabOrder = 0
      TabPosition = tpBottom
      OnChange = cxPageControlChange
      object cxTabSheet1: TcxTabSheet
        Caption = 'Sin&gle File'
        object JzInput: TJzNavPanel
          Left = 0
          Top = 0
          Width = 370
          Height = 495
          Align = alLeft
          BevelOuter = bvNone
          TabOrder = 0
          object JzInputTitle: TJzNavPanel
            Left = 0
            Top = 0
            Width = 370
            Height = 20
            Align = alTop
            Caption = #187' Input'
            PanelType = ptTitle
            TabOrder = 0
          end
          object DockCtrl_SingleFile: TdxBarDockControl
            BarManager = dxBarManager
          end
          object DCMemo: TDCMemo
            Left = 0
            Top = 0
            Width = 300
            Height = 400
            Align = alClient
            BlockIndent = 4
            BlockOption = bkStreamSel
            BorderStyle = bsNone
            Font.Charset = DEFAULT_CHARSET
            Font.Color = clBlack
            Font.Height = -11
            Font.Name = 'Tahoma'
            Font.Style = []
            HideScrollBars = True
            KeyMapping = 'Visual Studio'
            LineNumColor = clBtnShadow
            Options = [moDrawGutter, moThumbTracking, moColorSyntax, moLineNumbers, moSelectOnlyText, moLineNumbersOnGutter]
            ScrollBars = ssVertical
            SelBackColor = clNavy
            SelColor = clWindow
            SpacesInTab = 8
            StringsOptions = [soBackUnindents, soGroupUndo, soForceCutCopy, soAutoIndent, soSmartTab, soFindTextAtCursor, soOverwriteBlocks, soLimitEOL]
            TabStops = '9,17'
            UseDefaultMenu = False
            WantTabs = True
            WordWrap = True
            ReadOnly = False
            SyntaxParser = SyntaxParser
            TabOrder = 0
            UseGlobalOptions = True
          end
        end
        object cxSplitter: TcxSplitter
          Left = 370
          Top = 0
          Width = 8
          Height = 495
          HotZoneClassName = 'TcxMediaPlayer9Style'
          Control = JzInput
        end
        object JzOutput: TJzNavPanel
          Left = 378
          Top = 0
          Width = 378
          Height = 495
          Align = alClient
          BevelOuter = bvNone
          TabOrder = 1
          object JzOutputTitle: TJzNavPanel
            Left = 0
            Top = 0
            Width = 378
            Height = 20
            Align = alTop
            Caption = #187' Output'
            PanelType = ptTitle
            TabOrder = 0
          end
          object Tab_Output: TcxPageControl
            Left = 0
            Top = 20
            Width = 378
            Height = 475
            ActivePage = cxTabOutputFile
            Align = alClient
            HideTabs = True
            TabOrder = 1
            OnChange = Tab_OutputChange
            object cxTabOutputFile: TcxTabSheet
              Caption = '&Output (HTML)'
              object DockCtrl_Output: TdxBarDockControl
                BarManager = dxBarManager
              end
              object DCMemo1: TDCMemo
                Left = 0
                Top = 0
                Width = 300
                Height = 400
                Align = alClient
                BlockIndent = 4
                BlockOption = bkStreamSel
                BorderStyle = bsNone
                Font.Charset = DEFAULT_CHARSET
                Font.Color = clBlack
                Font.Height = -11
                Font.Name = 'Tahoma'
                Font.Style = []
                HideScrollBars = True
                KeyMapping = 'Visual Studio'
                LineNumColor = clBtnShadow
                Options = [moDrawGutter, moThumbTracking, moColorSyntax, moLineNumbers, moSelectOnlyText, moLineNumbersOnGutter]
                ScrollBars = ssVertical
                SelBackColor = clNavy
                SelColor = clWindow
                SpacesInTab = 8
                StringsOptions = [soBackUnindents, soGroupUndo, soForceCutCopy, soAutoIndent, soSmartTab, soFindTextAtCursor, soOverwriteBlocks, soLimitEOL]
                TabStops = '9,17'
                UseDefaultMenu = False
                WantTabs = True
                WordWrap = True
                ReadOnly = True
                SyntaxParser = SyntaxParser1
                TabOrder = 0
                UseGlobalOptions = True
              end
            end
            object cxTabOutputPreview: TcxTabSheet
              Caption = '&Preview'
              object EmbeddedWB: TEmbeddedWB
                Left = 0
                Top = 0
                Width = 378
                Height = 475
                Align = alClient
                DownloadOptions = [DLCTL_DLIMAGES, DLCTL_VIDEOS, DLCTL_BGSOUNDS, DLCTL_NO_SCRIPTS, DLCTL_NO_JAVA, DLCTL_NO_RUNACTIVEXCTLS, DLCTL_NO_DLACTIVEXCTLS, DLCTL_SILENT, DLCTL_OFFLINE]
                UserInterfaceOptions = [NO3DBORDER, FLAT_SCROLLBAR]
                PrintOptions.Margins.Left = 19.050000000000000000
                PrintOptions.Margins.Right = 19.050000000000000000
                PrintOptions.Margins.Top = 19.050000000000000000
                PrintOptions.Margins.Bottom = 19.050000000000000000
                PrintOptions.Header = '&w&bPage &p sur &P'
                PrintOptions.HTMLHeader.Strings = (
                  '<HTML></HTML>')
                PrintOptions.Footer = '&u&b&d'
                PrintOptions.Orientation = poPortrait
              end
            end
          end
        end
      end
      object cxTabSheet2: TcxTabSheet
        Caption = 'M&ultiple Files'
        object JzFolders: TJzNavPanel
          Left = 0
          Top = 0
          Width = 300
          Height = 495
          Align = alLeft
          BevelOuter = bvNone
          TabOrder = 0
          object ShellTreeView: TShellTreeView
            Left = 0
            Top = 0
            Width = 300
            Height = 240
            Align = alTop
            ObjectTypes = [otFolders]
            ShellListView = ShellListView
            TabOrder = 0
          end
          object cxSplitter2: TcxSplitter
            Left = 0
            Top = 240
            Width = 300
            Height = 8
            AlignSplitter = salTop
            Control = ShellTreeView
          end
          object ShellListView: TShellListView
            Left = 0
            Top = 248
            Width = 300
            Height = 247
            Align = alClient
            MultiSelect = True
            ObjectTypes = [otNonFolders]
            TabOrder = 1
          end
        end
        object cxSplitter1: TcxSplitter
          Left = 300
          Top = 0
          Width = 8
          Height = 495
          Control = JzFolders
        end
        object JzFiles: TJzNavPanel
          Left = 308
          Top = 0
          Width = 448
          Height = 495
          Align = alClient
          BevelOuter = bvNone
          TabOrder = 1
          object JzFilesTitle: TJzNavPanel
            Left = 0
            Top = 0
            Width = 448
            Height = 20
            Align = alTop
            Caption = #187' Files'
            PanelType = ptTitle
            TabOrder = 0
          end
          object DockCtrl_Batch: TdxBarDockControl
            BarManager = dxBarManager
          end
          object ListBox: TListBox
            Left = 0
            Top = 46
            Width = 448
            Height = 449
            Align = alClient
            BorderStyle = bsNone
            ItemHeight = 13
            MultiSelect = True
            TabOrder = 1
            OnDblClick = EditSelectedItemClick
          end
        end
      end
    end
  end
  object RichEdit: TRichEdit
    Left = 0
    Top = 0
    Width = 600
    Height = 200
    TabOrder = 1
    Visible = False
  end
  object dxBarManager: TdxBarManager
    Categories.Strings = (
      '(Hidden)'
      'Built-in Menus'
      'File'
      'Edit'
      'Single File'
      'Multiple Files'
      'Tools'
      'Help')
    MenusShowRecentItemsFirst = False
    ShowShortCutInHint = True
    Style = bmsOffice11
    Bars = <
      item
        Caption = 'Menu'
        DockingStyle = dsTop
        IsMainMenu = True
        ItemLinks = <
          item
            Item = FileMenu
          end
          item
            Item = EditMenu
          end
          item
            Item = SingleFileMenu
          end
          item
            Item = MultipleFilesMenu
          end
          item
            Item = ToolsMenu
          end
          item
            Item = HelpMenu
          end>
        MultiLine = True
        Name = 'MenuBar'
        Visible = True
        WholeRow = True
      end
      item
        Caption = 'Multiple Files Toolbar'
        DockControl = DockCtrl_Batch
        DockingStyle = dsNone
        ItemLinks = <
          item
            Item = AddFile
          end
          item
            Item = DeleteFileBtn
          end
          item
            BeginGroup = True
            Item = EditSelectedItem
          end>
        Name = 'MultipleFilesToolbar'
        Visible = True
      end
      item
        Caption = 'Single File Toolbar'
        DockControl = DockCtrl_SingleFile
        DockingStyle = dsNone
        ItemLinks = <
          item
            Item = OpenFile
          end
          item
            Item = PasteFromClipBoard
          end
          item
            BeginGroup = True
            Item = SyntaxHighlighterCombo
          end>
        Name = 'SingleFileToolbar'
        Visible = True
      end
      item
        Caption = 'Standard Toolbar'
        DockingStyle = dsTop
        ItemLinks = <
          item
            Item = ExportSingleFile
          end
          item
            BeginGroup = True
            Item = IndentCode
          end
          item
            BeginGroup = True
            Item = Design
          end
          item
            BeginGroup = True
            Item = ExitBtn
          end>
        Name = 'StandardToolbar'
        Row = 1
        Visible = True
      end
      item
        Caption = 'Output Toolbar'
        DockControl = DockCtrl_Output
        DockingStyle = dsNone
        ItemLinks = <
          item
            Item = SaveOutput
          end
          item
            BeginGroup = True
            Item = Preview
          end>
        Name = 'OutputToolbar'
        Visible = True
      end
      item
        Caption = 'Edit Toolbar'
        DockingStyle = dsTop
        ItemLinks = <
          item
            Item = Undo
          end
          item
            Item = Redo
          end
          item
            BeginGroup = True
            Item = Cut
          end
          item
            Item = CopyBtn
          end
          item
            Item = Paste
          end
          item
            BeginGroup = True
            Item = Delete
          end
          item
            BeginGroup = True
            Item = Find
          end
          item
            Item = Replace
          end>
        Name = 'EditToolbar'
        Row = 1
        Visible = True
      end>
    PopupMenuLinks = <
      item
        Control = DCMemo
        PopupMenu = Popup_Memo
      end
      item
        Control = DCMemo1
        PopupMenu = Popup_Memo
      end
      item
        Control = ListBox
        PopupMenu = Popup_Multiple
      end>
    object ExportSingleFile: TmyBarBoldButton
      Caption = 'Con&vert'
      ButtonStyle = bsDropDown
      Category = 2
      ShortCut = 116
      OnClick = ExportSingleFileClick
    end
    object ConvertToHTML: TmyBarBoldButton
      Caption = 'Convert To &HTML'
      Category = 2
      ShortCut = 116
      OnClick = ConvertToHTMLClick
    end
    object ConvertToPDF: TdxBarButton
      Caption = 'Convert To &PDF'
      Category = 2
      OnClick = ConvertToPDFClick
    end
    object ConvertToRTF: TdxBarButton
      Caption = 'Convert To &RTF'
      Category = 2
      OnClick = ConvertToRTFClick
    end
    object ConvertToLotus: TdxBarButton
      Caption = 'Convert To &Lotus'
      Category = 2
      OnClick = ConvertToLotusClick
    end
    object ConvertToBitmap: TdxBarButton
      Caption = 'Convert To &Bitmap'
      Category = 2
      OnClick = ConvertToBitmapClick
    end
    object ConvertToPNG: TdxBarButton
      Caption = 'Convert To &PNG'
      Category = 2
      OnClick = ConvertToPNGClick
    end
    object ConvertToJPG: TdxBarButton
      Caption = 'Convert To &JPG'
      Category = 2
      OnClick = ConvertToJPGClick
    end
    object ConvertToSVG: TdxBarButton
      Caption = 'Convert To &SVG'
      Category = 2
      OnClick = ConvertToSVGClick
    end
    object ConvertToQuattroPro: TdxBarButton
      Caption = 'Convert To &QuattroPro'
      Category = 2
      OnClick = ConvertToQuattroProClick
    end
    object ConvertToExcel: TdxBarButton
      Caption = 'Convert To &Excel'
      Category = 2
      OnClick = ConvertToExcelClick
    end
    object IndentCode: TmyBarBoldButton
      Caption = '&Indent'
      ButtonStyle = bsDropDown
      Category = 2
      ShortCut = 117
      OnClick = IndentConfigurationsClick
    end
    object IndentConfigurations: TdxBarListItem
      Caption = 'Indent &Configurations'
      Category = 6
    end
    object ConfigureSourceCodeFormatter: TdxBarButton
      Caption = 'Code &Formatting Options'
      Category = 6
      ShortCut = 16503
      OnClick = ConfigureSourceCodeFormatterClick
    end
    object Design: TmyBarBoldButton
      Caption = '&Print'
      ButtonStyle = bsDropDown
      Category = 2
      Enabled = False
      OnClick = PrintPreviewClick
    end
    object PageSetup: TdxBarButton
      Caption = 'Page Se&tup'
      Category = 2
      Enabled = False
      ShortCut = 24656
      OnClick = PageSetupClick
    end
    object PrintPreview: TdxBarButton
      Caption = 'Print P&review'
      Category = 2
      Enabled = False
      ShortCut = 49232
      OnClick = PrintPreviewClick
    end
    object Print: TdxBarButton
      Caption = '&Print'
      Category = 2
      Enabled = False
      ShortCut = 16464
      OnClick = PrintClick
    end
    object ToogleFocus: TdxBarButton
      Caption = '&Toogle Focus'
      Category = 2
      ShortCut = 115
      OnClick = ToogleFocusClick
    end
    object MinimizeToSystemTray: TdxBarButton
      Caption = '&Minimize To SystemTray'
      Category = 2
      ShortCut = 27
      OnClick = MinimizeToSystemTrayClick
    end
    object CloseThisFile: TdxBarButton
      Caption = '&Close File'
      Category = 2
      ShortCut = 16471
      OnClick = CloseThisFileClick
    end
    object ExitBtn: TdxBarButton
      Caption = 'E&xit'
      Category = 2
      ShortCut = 32856
      OnClick = ExitBtnClick
    end
    object Undo: TdxBarButton
      Caption = '&Undo'
      Category = 3
      ShortCut = 16474
      OnClick = UndoClick
    end
    object Redo: TdxBarButton
      Caption = '&Redo'
      Category = 3
      ShortCut = 24666
      OnClick = RedoClick
    end
    object Cut: TdxBarButton
      Caption = 'C&ut'
      Category = 3
      ShortCut = 16472
      OnClick = CutClick
    end
    object CopyBtn: TdxBarButton
      Caption = '&Copy'
      Category = 3
      ShortCut = 16451
      OnClick = CopyBtnClick
    end
    object Paste: TdxBarButton
      Caption = '&Paste'
      Category = 3
      ShortCut = 16470
      OnClick = PasteClick
    end
    object SelectAll: TdxBarButton
      Caption = '&Select All'
      Category = 3
      ShortCut = 16449
      OnClick = SelectAllClick
    end
    object Delete: TdxBarButton
      Caption = '&Delete'
      Category = 3
      ShortCut = 46
      OnClick = DeleteClick
    end
    object Find: TdxBarButton
      Caption = '&Find'
      Category = 3
      ShortCut = 16454
      OnClick = FindClick
    end
    object FindNext: TdxBarButton
      Caption = 'Find &Next'
      Category = 3
      ShortCut = 114
      OnClick = FindNextClick
    end
    object Replace: TdxBarButton
      Caption = '&Replace'
      Category = 3
      ShortCut = 16456
      OnClick = ReplaceClick
    end
    object OpenFile: TdxBarButton
      Caption = '&Open File'
      Category = 4
      ShortCut = 24655
      OnClick = OpenFileClick
    end
    object PasteFromClipBoard: TdxBarButton
      Caption = '&Paste From Clipboard'
      Category = 4
      OnClick = PasteFromClipBoardClick
    end
    object SaveOutput: TdxBarButton
      Caption = '&Save Output'
      Category = 4
      ShortCut = 16467
      OnClick = SaveOutputClick
    end
    object Preview: TdxBarButton
      Caption = '&Preview'
      Category = 4
      OnClick = PreviewClick
    end
    object SyntaxHighlighterCombo: TdxBarCombo
      Caption = 'S&yntax Highlight'
      Category = 4
    end
    object AddFile: TdxBarButton
      Caption = '&Add File(s)'
      Category = 5
      ShortCut = 45
      OnClick = AddFileClick
    end
    object DeleteFileBtn: TdxBarButton
      Caption = '&Delete File(s)'
      Category = 5
      ShortCut = 46
      OnClick = DeleteFileBtnClick
    end
    object EditSelectedItem: TdxBarButton
      Caption = '&Edit Selected Item'
      Category = 5
      ShortCut = 16397
      OnClick = EditSelectedItemClick
    end
    object Options: TdxBarButton
      Caption = '&Options'
      Category = 6
      ShortCut = 119
      OnClick = OptionsClick
    end
    object EditorOptions: TdxBarButton
      Caption = '&Editor Options'
      Category = 6
      ShortCut = 8311
      OnClick = EditorOptionsClick
    end
    object HomePage: TdxBarButton
      Caption = 'Lumivex &Home Page'
      Category = 7
      OnClick = HomePageClick
    end
    object CheckForUpdates: TdxBarButton
      Caption = '&Check For Updates'
      Category = 7
      OnClick = CheckForUpdatesClick
    end
    object TechnicalSupport: TdxBarButton
      Caption = 'Technical &Support'
      Category = 7
      OnClick = TechnicalSupportClick
    end
    object AboutBtn: TdxBarButton
      Caption = '&About'
      Category = 7
      OnClick = AboutBtnClick
    end
    object NewProject: TdxBarButton
      Caption = '&New Project'
      Category = 0
      Visible = ivNever
      ShortCut = 16462
      OnClick = NewProjectClick
    end
    object OpenProject: TdxBarButton
      Caption = '&Open Project'
      ButtonStyle = bsDropDown
      Category = 0
      Visible = ivNever
      ShortCut = 16463
    end
    object SaveProject: TdxBarButton
      Caption = '&Save Project'
      Category = 0
      Visible = ivNever
      ShortCut = 16467
      OnClick = SaveProjectClick
    end
    object MRUList: TdxBarMRUListItem
      Caption = 'Recent Projects'
      Category = 0
      Visible = ivNever
      MaxItemCount = 16
      OnClick = MRUListClick
    end
    object ClearHistory: TdxBarButton
      Caption = '&Clear History'
      Category = 0
      Visible = ivNever
      OnClick = ClearHistoryClick
    end
    object AddFolder: TdxBarButton
      Caption = 'Add Fol&der'
      Category = 0
      Visible = ivNever
      ShortCut = 16429
    end
    object FindPrevious: TdxBarButton
      Caption = 'Find &Previous'
      Category = 0
      Visible = ivNever
      ShortCut = 8306
    end
    object EmailOutput: TdxBarButton
      Caption = '&Email Output'
      Category = 0
      Visible = ivNever
      ShortCut = 49221
      OnClick = EmailOutputClick
    end
    object FileMenu: TdxBarSubItem
      Caption = '&File'
      Category = 1
      ItemLinks = <
        item
          Item = ExportSingleFile
        end
        item
          Item = IndentCode
        end
        item
          BeginGroup = True
          Item = PageSetup
        end
        item
          Item = PrintPreview
        end
        item
          Item = Print
        end
        item
          Item = ToogleFocus
        end
        item
          BeginGroup = True
          Item = MinimizeToSystemTray
        end
        item
          Item = CloseThisFile
        end
        item
          Item = ExitBtn
        end>
    end
    object EditMenu: TdxBarSubItem
      Caption = '&Edit'
      Category = 1
      ItemLinks = <
        item
          Item = Undo
        end
        item
          Item = Redo
        end
        item
          BeginGroup = True
          Item = Cut
        end
        item
          Item = CopyBtn
        end
        item
          Item = Paste
        end
        item
          BeginGroup = True
          Item = SelectAll
        end
        item
          BeginGroup = True
          Item = Delete
        end
        item
          BeginGroup = True
          Item = Find
        end
        item
          Item = FindNext
        end
        item
          BeginGroup = True
          Item = Replace
        end>
    end
    object SingleFileMenu: TdxBarSubItem
      Caption = '&Single File'
      Category = 1
      ItemLinks = <
        item
          Item = OpenFile
        end
        item
          Item = PasteFromClipBoard
        end
        item
          BeginGroup = True
          Item = SaveOutput
        end>
    end
    object MultipleFilesMenu: TdxBarSubItem
      Caption = '&Multiple Files'
      Category = 1
      ItemLinks = <
        item
          Item = AddFile
        end
        item
          Item = DeleteFileBtn
        end
        item
          BeginGroup = True
          Item = EditSelectedItem
        end>
    end
    object ToolsMenu: TdxBarSubItem
      Caption = '&Tools'
      Category = 1
      ItemLinks = <
        item
          Item = Options
        end
        item
          Item = EditorOptions
        end
        item
          Item = ConfigureSourceCodeFormatter
        end>
    end
    object HelpMenu: TdxBarSubItem
      Caption = '&Help'
      Category = 1
      ItemLinks = <
        item
          Item = HomePage
        end
        item
          Item = CheckForUpdates
        end
        item
          Item = TechnicalSupport
        end
        item
          BeginGroup = True
          Item = AboutBtn
        end>
    end
    object dxBarGroup_Convert: TdxBarGroup
      Items = (
        'ConvertToHTML'
        'ConvertToPDF'
        'ConvertToRTF'
        'ConvertToLotus'
        'ConvertToBitmap'
        'ConvertToPNG'
        'ConvertToJPG'
        'ConvertToSVG'
        'ConvertToQuattroPro'
        'ConvertToExcel')
    end
    object dxBarGroup_Edit: TdxBarGroup
      Items = (
        'Undo'
        'Redo'
        'Cut'
        'Paste'
        'Delete'
        'Replace')
    end
    object dxBarGroup_Indent: TdxBarGroup
      Items = (
        'IndentCode'
        'ConfigureSourceCodeFormatter'
        'IndentConfigurations')
    end
  end
  object Popup_Convert: TdxBarPopupMenu
    ItemLinks = <
      item
        Item = ConvertToHTML
      end
      item
        Item = ConvertToPDF
      end
      item
        Item = ConvertToRTF
      end
      item
        Item = ConvertToLotus
      end
      item
        BeginGroup = True
        Item = ConvertToBitmap
      end
      item
        Item = ConvertToPNG
      end
      item
        Item = ConvertToJPG
      end
      item
        BeginGroup = True
        Item = ConvertToSVG
      end
      item
        BeginGroup = True
        Item = ConvertToQuattroPro
      end
      item
        Item = ConvertToExcel
      end>
  end
  object Popup_Print: TdxBarPopupMenu
    ItemLinks = <
      item
        Item = PrintPreview
      end
      item
        Item = PageSetup
      end
      item
        Item = Print
      end>
  end
  object Popup_Indent: TdxBarPopupMenu
    ItemLinks = <
      item
        Item = ConfigureSourceCodeFormatter
      end
      item
        BeginGroup = True
        Item = IndentConfigurations
      end>
  end
  object Popup_MRU: TdxBarPopupMenu
    ItemLinks = <
      item
        Item = MRUList
      end
      item
        BeginGroup = True
        Item = ClearHistory
      end>
  end
  object Popup_Memo: TdxBarPopupMenu
    ItemLinks = <
      item
        Item = Undo
      end
      item
        Item = Redo
      end
      item
        BeginGroup = True
        Item = Cut
      end
      item
        Item = CopyBtn
      end
      item
        Item = Paste
      end
      item
        BeginGroup = True
        Item = SelectAll
      end
      item
        BeginGroup = True
        Item = Delete
      end
      item
        BeginGroup = True
        Item = Find
      end
      item
        Item = FindNext
      end
      item
        BeginGroup = True
        Item = Replace
      end>
  end
  object Popup_Multiple: TdxBarPopupMenu
    ItemLinks = <
      item
        Item = AddFile
      end
      item
        Item = DeleteFileBtn
      end
      item
        BeginGroup = True
        Item = EditSelectedItem
      end>
  end
  object Timer: TTimer
    Enabled = False
    Interval = 1
    OnTimer = TimerTimer
  end
  object DropFileTarget: TDropFileTarget
    DragTypes = [dtCopy, dtMove, dtLink]
    Target = ListBox
    OnDrop = DropFileTargetDrop
  end
  object SyntaxParser: TSyntaxParser
  end
  object SyntaxParser1: TSyntaxParser
  end
  object CoolTrayIcon: TCoolTrayIcon
    CycleInterval = 0
    IconIndex = 0
    MinimizeToTray = True
    OnClick = CoolTrayIconClick
    OnDblClick = CoolTrayIconClick
  end
  object HotKeyManager: THotKeyManager
    OnHotKeyPressed = HotKeyManagerHotKeyPressed
  end
  object InstanceControl: TadpInstanceControl
    Enabled = True
    MaxInstances = 1
  end
end
